// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLineManager.h"
#include "TestActions.h"

#include "actions/ActionOrvixEndCall.h"
#include "engine/RulesRun.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "rulesfile/BlockedNumbers.h"
#include "rulesfile/Parameters.h"
#include "telephony/OrvixEvent.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A model with one ordinary rule, blocked numbers added to it and read back from its file.
class BlockedNumberTest : public ::testing::Test
{
protected:
    BlockedNumberTest()
    {
        LineManagerService::SetInstance(&softphone);
        auto* greeting = new TActionSequence;
        greeting->SetName(QStringLiteral("Begrüßung"));
        model->ActionSequences().AddNewItem(greeting);
        model->Rules().AddNewItem(IncomingRule(QStringLiteral("Kunde"), greeting));
    }
    ~BlockedNumberTest() override { LineManagerService::SetInstance(nullptr); }

    std::shared_ptr<TParameters> Reloaded()
    {
        const QString path = folder.filePath(QStringLiteral("rules.xml"));
        EXPECT_TRUE(model->SaveObjectsToXMLFile(path));
        auto reloaded = std::make_shared<TParameters>();
        EXPECT_TRUE(reloaded->LoadObjectsFromXMLFile(path));
        return reloaded;
    }

    void Ring(int line, int callId, const QString& number)
    {
        softphone.lines[line] = IncomingCall(callId, number, QStringLiteral("Anrufer"));
        softphone.ChangeState(line, LSRinging);
        FakeLineManager::Deliver();
    }

    QTemporaryDir folder;
    FakeLineManager softphone;
    std::shared_ptr<TParameters> model = std::make_shared<TParameters>();
};

} // namespace

TEST_F(BlockedNumberTest, RuleIsMadeAtTheTopAndKeepsEachNumberOnce)
{
    EXPECT_TRUE(BlockedNumbers::Block(*model, QStringLiteral("+49301234")));
    EXPECT_TRUE(BlockedNumbers::Block(*model, QStringLiteral("+49409876")));
    EXPECT_FALSE(BlockedNumbers::Block(*model, QStringLiteral("+49301234")));
    EXPECT_THROW(BlockedNumbers::Block(*model, QStringLiteral("1;*")), EKestrunError);

    const std::shared_ptr<TParameters> reloaded = Reloaded();
    ASSERT_EQ(reloaded->Rules().Count(), 2);
    const TRule* rule = reloaded->Rules().Item<TRule>(0);
    EXPECT_EQ(rule->Name(), QStringLiteral("Gesperrte Nummern"));
    EXPECT_TRUE(rule->Active());
    EXPECT_EQ(rule->FromNumberIn(), QStringLiteral("+49301234;+49409876"));
    ASSERT_EQ(rule->Count(), 1);
    const auto* sequence = rule->Item<TActionSequence>(0);
    EXPECT_EQ(sequence->Name(), QStringLiteral("Gesperrte Nummern"));
    ASSERT_EQ(sequence->Count(), 1);
    EXPECT_NE(qobject_cast<const TActionOrvixEndCall*>(sequence->Action(0)), nullptr);
    EXPECT_EQ(reloaded->Rules().Item<TRule>(1)->Name(), QStringLiteral("Kunde"));
}

TEST_F(BlockedNumberTest, BlockedCallerIsEndedWhileItRingsAndOthersAreNot)
{
    ASSERT_TRUE(BlockedNumbers::Block(*model, QStringLiteral("+49301234")));
    const std::shared_ptr<TParameters> inForce = Reloaded();
    TOrvixEventController controller(&softphone);
    controller.SetRuleRunner([inForce](TOrvixLine& line, const QString& state) { RunRules(*inForce, line, state); });

    Ring(0, 5, QStringLiteral("0301234"));
    Ring(1, 6, QStringLiteral("0305555"));
    EXPECT_EQ(softphone.operations, QStringList {QStringLiteral("HookOn 0")});
}
