// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/CallOptions.h"

#include <gtest/gtest.h>

TEST(CallOptions, SetsUseOrdinalBits)
{
    TCallOptionBaseSet set {cobIn, cobTransfer};
    EXPECT_EQ(set.Bits(), 0b01001u);
    EXPECT_TRUE(set.Contains(cobTransfer));
    EXPECT_FALSE(set.Contains(cobOut));
    set.Exclude(cobIn);
    set.Include(cobApplicationStart);
    EXPECT_EQ(set.ToString(), QStringLiteral("[cobTransfer, cobApplicationStart]"));
    EXPECT_EQ(TCallOptionInExSet::FromBits(0xFF).Bits(), 0b11u) << "bits beyond the enumeration are dropped";
    EXPECT_EQ(TCallOptionOutSet().ToString(), QStringLiteral("[]"));
}

TEST(CallOptions, NamesRoundTripIgnoringCase)
{
    EXPECT_EQ(EnumName(cooRemoteConnected), QStringLiteral("cooRemoteConnected"));
    EXPECT_EQ(EnumFromName<TCallOptionOut>(u"COOREMOTECONNECTED"), cooRemoteConnected);
    EXPECT_EQ(EnumFromName<TCallOptionNotificationNumber>(u"cosfromnumber"), cosFromNumber);
    EXPECT_FALSE(EnumFromName<TCallOptionIn>(u"coiNever").has_value());
    EXPECT_EQ(EnumName(TCallOptionIn(9)), QString());
    EXPECT_EQ(EnumCount<TCallOptionOut>(), 7);
}
