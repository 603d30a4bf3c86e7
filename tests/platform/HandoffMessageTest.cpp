// SPDX-License-Identifier: GPL-3.0-or-later

// The message a second start hands to the softphone side: always 256 bytes,
// a length byte, the argument without the link prefix, zeros.
#include "platform/HandoffMessage.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct HandoffCase
{
    const char* name;
    QString argument;
    QByteArray text;
};

QByteArray Ascii(qsizetype count, char letter)
{
    return QByteArray(count, letter);
}

class HandoffMessage : public ::testing::TestWithParam<HandoffCase>
{
};

} // namespace

TEST_P(HandoffMessage, HoldsTheLengthTheTextAndZeros)
{
    const QByteArray message = BuildHandoffMessage(GetParam().argument);
    const QByteArray& text = GetParam().text;
    ASSERT_EQ(message.size(), HandoffMessageSize);
    EXPECT_EQ(static_cast<unsigned char>(message.at(0)), text.size());
    EXPECT_EQ(message.mid(1, text.size()), text);
    EXPECT_EQ(message.mid(1 + text.size()), QByteArray(HandoffMessageSize - 1 - text.size(), '\0'));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, HandoffMessage,
    ::testing::Values(
        HandoffCase {"LinkPrefixRemoved", QStringLiteral("eventcontroller:abc"), "abc"},
        HandoffCase {"EveryPrefixRemoved", QStringLiteral("eventcontroller:0301eventcontroller:234"), "0301234"},
        HandoffCase {"PrefixInOtherCaseKept", QStringLiteral("EventController:abc"), "EventController:abc"},
        HandoffCase {"NothingLeft", QStringLiteral("eventcontroller:"), ""},
        HandoffCase {"LongTextCutTo255Bytes", QString(300, u'x'), Ascii(255, 'x')},
        HandoffCase {"TextOfExactly255BytesKept", QString(255, u'y'), Ascii(255, 'y')},
        // "ä" is two bytes in UTF-8; the cut would split the second one in two.
        HandoffCase {"CutNeverSplitsACharacter", QString(253, u'a') + QStringLiteral("bä"), Ascii(253, 'a') + "b"},
        HandoffCase {"CharacterEndingAtTheCutKept", QString(253, u'a') + QStringLiteral("äz"),
                     Ascii(253, 'a') + QStringLiteral("ä").toUtf8()},
        // Four bytes, from a pair of UTF-16 units.
        HandoffCase {"CharacterOutsideTheBasicPlaneNotSplit", QString(252, u'a') + QStringLiteral("\U0001F4DE"),
                     Ascii(252, 'a')}),
    [](const ::testing::TestParamInfo<HandoffCase>& info) { return std::string(info.param.name); });

TEST(HandoffSocket, AStartWithNobodyListeningEndsWithoutError)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_FALSE(SendHandoffMessage(folder.filePath(QStringLiteral("kestrun-handoff-1user")),
                                    BuildHandoffMessage(QStringLiteral("abc"))));
    // A path too long for a local socket is no reason to crash either.
    EXPECT_FALSE(SendHandoffMessage(folder.filePath(QString(200, u'p')), BuildHandoffMessage(QStringLiteral("abc"))));
}
