// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipMessage.h"

#include <gtest/gtest.h>

// baresip puts a peer's display name into its JSON byte for byte: a Latin-1 name is not UTF-8.
TEST(BaresipMessage, DisplayNameThatIsNotUtf8KeepsItsEvent)
{
    const QByteArray frame = "{\"event\":true,\"type\":\"CALL_INCOMING\",\"id\":\"1-7@127.0.0.1\","
                             "\"peerdisplayname\":\"J\xFCrgen M\xFCller\",\"peeruri\":\"sip:0891234@192.0.2.7\"}";
    const BaresipMessage message = parseBaresipMessage(frame);
    ASSERT_TRUE(std::holds_alternative<BaresipEvent>(message));
    const BaresipEvent& event = std::get<BaresipEvent>(message);
    EXPECT_EQ(event.callId, "1-7@127.0.0.1");
    EXPECT_EQ(event.peerName, QString::fromUtf8("J\uFFFDrgen M\uFFFDller"));
    EXPECT_EQ(event.peerUri, "sip:0891234@192.0.2.7");
}

TEST(BaresipMessage, ResponseWithInvalidBytesIsStillAResponse)
{
    const BaresipMessage message =
        parseBaresipMessage("{\"response\":true,\"ok\":true,\"data\":\"peer_uri: \xE9\xFF\",\"token\":\"orvix3\"}");
    ASSERT_TRUE(std::holds_alternative<BaresipResponse>(message));
    EXPECT_EQ(std::get<BaresipResponse>(message).token, "orvix3");
}
