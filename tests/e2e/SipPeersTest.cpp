#include "E2eSupport.h"

#include "telephony/LineEvents.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

using SipPeers = BridgeTest;

// More lines than baresip's own call limit of four.
class ManyLines : public BridgeTest
{
protected:
    static constexpr int Lines = 6;
    void SetUp() override { StartBridge(Lines); }
};

} // namespace

// A caller whose display name is Latin-1, not UTF-8: the call rings on a line, with the
// bytes that are not UTF-8 replaced, and can be taken.
TEST_F(SipPeers, DisplayNameInLatin1RingsTheLine)
{
    SippCall sipp(ScenarioVariant(m_folder, "incoming-call.xml", "\"Bernd Weber\"", "\"J\xFCrgen M\xFCller\""),
                  bridge->sipPort);
    ASSERT_TRUE(WaitUntil([&] { return bus->GetLine(0)["DispState"].toInt() == LSRinging; })) << sipp.Output();
    EXPECT_EQ(bus->GetLine(0)["DispPeerName"].toString(), QString::fromUtf8("J\uFFFDrgen M\uFFFDller"));
    EXPECT_EQ(bus->GetLine(0)["DispPeerNumber"].toString(), "089123456");
    bus->HookOff(0);
    ASSERT_TRUE(sipp.WaitForEnd());
    EXPECT_EQ(sipp.ExitCode(), 0) << "the call was answered and ended normally: " << sipp.Output();
}

TEST_F(ManyLines, EveryLineRingsAtOnce)
{
    SippCall sipp(Scenario("incoming-call.xml"), bridge->sipPort, Lines);
    const auto ringing = [&] {
        int count = 0;
        for (int i = 0; i < Lines; ++i)
            count += bus->GetLine(i)["DispState"].toInt() == LSRinging ? 1 : 0;
        return count;
    };
    EXPECT_TRUE(WaitUntil([&] { return ringing() == Lines; }))
        << ringing() << " lines ring; sipp: " << sipp.Output() << "\nbridge: " << bridge->Output().toStdString();
}
