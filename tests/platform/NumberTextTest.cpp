// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <optional>

// Texts a digit-by-digit reader refuses and a library parser would be glad to
// take: a second sign, a sign after "$", characters outside ASCII whose low byte
// is a digit, digit runs longer than the number needs.
TEST(NumberText, TakesOnlyWhatTheSettingsFilesWrite)
{
    const std::pair<const char16_t*, std::optional<qint32>> cases[] = {
        {u"-$10", -16},
        {u"+$ff", 255},
        {u"-2147483648", INT32_MIN},
        {u"0000000012", 12},
        {u"00000000012", std::nullopt},
        {u"+-5", std::nullopt},
        {u"--5", std::nullopt},
        {u"$-1", std::nullopt},
        {u"$+1", std::nullopt},
        {u"$0x1", std::nullopt},
        {u"\u0131", std::nullopt},
        {u"$\u0661", std::nullopt},
        {u"\uff11", std::nullopt},
        {u"1 2", std::nullopt},
        {u"-", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(QString::fromUtf16(text).toStdString());
        EXPECT_EQ(TextToInteger(QStringView(text)), expected);
    }
}

TEST(NumberText, DecimalsOfTheRulesFileHaveNoBlanksAndOneSign)
{
    EXPECT_EQ(DecimalToInteger("+7"), 7);
    EXPECT_EQ(DecimalToInteger("-0"), 0);
    EXPECT_EQ(DecimalToInteger("2147483647"), INT32_MAX);
    EXPECT_EQ(DecimalToInteger("2147483648"), std::nullopt);
    EXPECT_EQ(DecimalToInteger(" 7"), std::nullopt);
    EXPECT_EQ(DecimalToInteger("+-7"), std::nullopt);
    EXPECT_EQ(DecimalToInteger("$7"), std::nullopt);
    EXPECT_EQ(DecimalToInteger(""), std::nullopt);
}
