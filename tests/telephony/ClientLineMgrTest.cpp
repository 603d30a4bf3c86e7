// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLineManager.h"

#include "telephony/ClientLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/LineManagerError.h"

#include <gtest/gtest.h>

TEST(ClientLineMgr, ConversionsAreAskedOncePerConnection)
{
    FakeLineManager softphone;
    TClientLineMgr manager(&softphone);
    manager.SetAutoConnect(true);
    manager.Connect();
    EXPECT_EQ(manager.DispConvertNumber(2, "0301234"), QStringLiteral("+49301234"));
    EXPECT_EQ(manager.DispConvertNumber(2, "0301234"), QStringLiteral("+49301234"));
    EXPECT_EQ(manager.DispConvertNumber(1, "0301234"), QStringLiteral("0301234")) << "another style is another answer";
    EXPECT_EQ(softphone.conversions, 2);

    // The softphone went away and came back: its rule may have changed.
    emit softphone.AvailabilityChanged(false);
    EXPECT_THROW(manager.DispConvertNumber(2, "0301234"), ELineManagerError);
    emit softphone.AvailabilityChanged(true);
    EXPECT_EQ(manager.DispConvertNumber(2, "0301234"), QStringLiteral("+49301234"));
    EXPECT_EQ(softphone.conversions, 3);
}

TEST(ClientLineMgr, WithoutAutomaticConnectionAnAbsentSoftphoneIsAnError)
{
    FakeLineManager softphone;
    softphone.available = false;
    TClientLineMgr manager(&softphone);
    EXPECT_THROW(manager.Connect(), ELineManagerError);
    EXPECT_FALSE(manager.IsConnected());
    EXPECT_THROW(manager.DispGetLine(0), ELineManagerError);

    manager.SetAutoConnect(true);
    manager.Connect();
    EXPECT_FALSE(manager.IsConnected());
    softphone.available = true;
    emit softphone.AvailabilityChanged(true);
    EXPECT_TRUE(manager.IsConnected());
}
