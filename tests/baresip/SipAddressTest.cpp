// SPDX-License-Identifier: GPL-3.0-or-later

#include "SipAddress.h"

#include <gtest/gtest.h>

namespace {

struct AddressCase
{
    const char* address;
    const char* displayName;
    const char* user;
    const char* host;
};

void PrintTo(const AddressCase& c, std::ostream* out)
{
    *out << c.address;
}

class SipAddressParse : public ::testing::TestWithParam<AddressCase>
{
};

TEST_P(SipAddressParse, FindsWhoAndWhere)
{
    const SipAddress address = SipAddress::parse(QString::fromUtf8(GetParam().address));
    EXPECT_EQ(address.displayName, QString::fromUtf8(GetParam().displayName));
    EXPECT_EQ(address.user, QString::fromUtf8(GetParam().user));
    EXPECT_EQ(address.host, QString::fromUtf8(GetParam().host));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SipAddressParse,
    ::testing::Values(AddressCase {"sip:089123456@192.0.2.1:5060;transport=udp", "", "089123456", "192.0.2.1"},
                      AddressCase {"\"Bernd Weber\" <sips:bernd@PBX.Example.org>", "Bernd Weber", "bernd",
                                   "pbx.example.org"},
                      AddressCase {R"("Say \"Hi\"" <sip:hi@h>)", "Say \"Hi\"", "hi", "h"},
                      AddressCase {"Anna Berg <sip:0301234567@h>;tag=1", "Anna Berg", "0301234567", "h"},
                      AddressCase {"<sip:%2B4930123;npdi@[2001:DB8::1]:5060>", "", "+4930123", "2001:db8::1"},
                      AddressCase {"sip:alice:secret@h?subject=x", "", "alice", "h"},
                      AddressCase {"tel:+4930123;phone-context=example.org", "", "+4930123", ""},
                      AddressCase {"sip:pbx.example.org", "", "", "pbx.example.org"},
                      AddressCase {"\"Jürgen Ölbaum\" <sip:j%C3%BC@h>", "Jürgen Ölbaum", "jü", "h"},
                      AddressCase {"sip:0301%0A4567%1B[2J@h", "", "0301%0A4567%1B[2J", "h"},
                      AddressCase {"tel:030%0D1234", "", "030%0D1234", ""}, AddressCase {"mailto:a@b", "", "", ""},
                      AddressCase {"", "", "", ""}));

} // namespace
