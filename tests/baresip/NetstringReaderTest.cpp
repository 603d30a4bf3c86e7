// SPDX-License-Identifier: GPL-3.0-or-later

#include "NetstringReader.h"
#include "BaresipTestSupport.h"

#include <gtest/gtest.h>

using namespace baresip_test;

TEST(NetstringReader, TwoFramesInOneReadAsBaresipSendsThem)
{
    NetstringReader reader;
    const NetstringReader::Result result = reader.feed(Fixture("two-frames.ns"));
    ASSERT_EQ(result.frames.size(), 2);
    EXPECT_TRUE(result.frames[0].contains("CALL_LOCAL_SDP"));
    EXPECT_TRUE(result.frames[1].startsWith("{\"response\":true"));
    EXPECT_TRUE(result.errors.isEmpty());
}

TEST(NetstringReader, FramesSplitAcrossReadsComeOutWhole)
{
    const QByteArray stream = Fixture("incoming-call.ns");
    NetstringReader whole;
    const QList<QByteArray> expected = whole.feed(stream).frames;
    ASSERT_EQ(expected.size(), 9);

    NetstringReader bytewise;
    QList<QByteArray> frames;
    for (char byte : stream)
        frames += bytewise.feed(QByteArray(1, byte)).frames;
    EXPECT_EQ(frames, expected);
}

TEST(NetstringReader, BrokenFramesCostThemselvesOnly)
{
    NetstringReader reader;
    const NetstringReader::Result result = reader.feed(Fixture("malformed.ns"));
    // A short length, a frame cut off, text instead of a length, a length one short: four errors;
    // "[1,2,3]" and "{oops" are sound netstrings whose JSON the parser refuses later.
    EXPECT_EQ(result.errors.size(), 4) << result.errors.join(u'\n').toStdString();
    QStringList digits;
    for (const QByteArray& frame : result.frames) {
        if (frame.contains("CALL_DTMF_START") && frame.contains("Anna Berg"))
            digits.append(QString::fromUtf8(frame.right(3).left(1)));
    }
    EXPECT_EQ(digits, (QStringList {"1", "2", "3", "4", "5", "6"}));
}

TEST(NetstringReader, RefusesWhatCannotBeAFrame)
{
    struct Case
    {
        QByteArray stream;
        const char* why;
    };
    const Case cases[] = {
        {"999999999:{},", "a length beyond any frame"},
        {":{},", "no length"},
        {"2:{}}", "no comma"},
    };
    for (const Case& c : cases) {
        NetstringReader reader;
        const NetstringReader::Result result = reader.feed(c.stream + "2:{},");
        EXPECT_EQ(result.errors.size(), 1) << c.why;
        EXPECT_EQ(result.frames, QList<QByteArray> {"{}"}) << c.why << ": the next frame is read";
    }
}

TEST(NetstringReader, EncodesWhatItReads)
{
    NetstringReader reader;
    const QByteArray payload = R"({"command":"callfind","params":"1-5901@127.0.0.1","token":"orvix1"})";
    EXPECT_EQ(reader.feed(NetstringReader::encode(payload)).frames, QList<QByteArray> {payload});
}
