// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/DialTarget.h"

#include <gtest/gtest.h>

TEST(DialTarget, LinksAndWrittenNumbersBecomeTheDialString)
{
    struct Case
    {
        const char* text;
        const char* number;
    };
    const Case cases[] = {
        {"tel:+4930123456", "+4930123456"},
        {"TEL:+49-30-123456", "+4930123456"},
        {"tel:+49%2030%20123456", "+4930123456"},
        {"tel:+49 (30) 123 456;ext=12;phone-context=example.com", "+4930123456"},
        {"tel://030/123.456", "030123456"},
        {"  030 - 123456  ", "030123456"},
        {"sip:0301234@pbx.example.org;transport=udp", "0301234"},
        {"sips:+4930123@example.org", "+4930123"},
        {"*21#", "*21#"},
        {"callto:0301234", "0301234"},
    };
    for (const Case& c : cases) {
        const TDialTarget target = TDialTarget::Parse(QString::fromUtf8(c.text));
        EXPECT_EQ(target.number, QString::fromUtf8(c.number)) << c.text << ": " << target.error.toStdString();
        EXPECT_TRUE(target.error.isEmpty()) << c.text;
    }
}

TEST(DialTarget, HostileOrEmptyTextsAreRefusedWithAReason)
{
    const char* const refused[] = {
        "",
        "tel:",
        "tel:+",
        "tel:;ext=1",
        "tel:0301234%0Aevil",
        "tel:030%00123",
        "tel:030%25200",
        "tel:+49+30",
        "tel:0301234abc",
        "tel:$(reboot)",
        "tel:--help",
        "javascript:alert(1)",
        "file:///etc/passwd",
        "sip:alice@example.org",
        "sip:example.org",
        "tel:01234567890123456789012345678901234",
        "\x1b[2J0301234",
    };
    for (const char* text : refused) {
        const TDialTarget target = TDialTarget::Parse(QString::fromUtf8(text));
        EXPECT_FALSE(target.IsValid()) << text << " gave " << target.number.toStdString();
        EXPECT_FALSE(target.error.isEmpty()) << text;
    }
    EXPECT_FALSE(TDialTarget::Parse(QString(600, u'1')).IsValid());
}
