// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLineManager.h"
#include "TestActions.h"
#include "TraceCapture.h"

#include "engine/RulesRun.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/Wildcard.h"

#include <gtest/gtest.h>

TEST(Wildcard, Like)
{
    struct Case
    {
        const char* text;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"0301", "03?1", true},
        {"03221", "03?1", false},
        {"abc", "A*", false},
        {"", "*", true},
        {"", "", true},
        {"", "?", false},
        {"a", "", false},
        {"0301", "*01", true},
        {"0301", "0*0*1", true},
        {"abcc", "*?c", true},
        {"ab", "*?c", false},
        {"+4930123", "+49*", true},
        {"4930123", "+49*", false},
        {"aXbXc", "a*b*c", true},
        {"aXbXd", "a*b*c", false},
        {"abab", "*ab", true},
        {"mississippi", "*iss*pi", true},
        {"mississippi", "m??s*ss*p", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*c", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Like(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.matches)
            << c.text << " ~ " << c.pattern;
}

TEST(Wildcard, CheckSemicolon)
{
    EXPECT_TRUE(CheckSemicolon("030*;+49*", "+491"));
    EXPECT_TRUE(CheckSemicolon("", ""));
    EXPECT_FALSE(CheckSemicolon("", "100"));
    EXPECT_TRUE(CheckSemicolon("*", "100"));
    EXPECT_TRUE(CheckSemicolon("030*;", "")) << "a trailing separator leaves an empty pattern";
    EXPECT_FALSE(CheckSemicolon("030*;040*", "050"));
}

// A number that would match others as a pattern never becomes one.
TEST(Wildcard, IsLiteralPattern)
{
    EXPECT_TRUE(IsLiteralPattern(u"+49301234"));
    EXPECT_TRUE(IsLiteralPattern(u"sip:anna@example.org"));
    for (const QString& hostile :
         {QString(), QStringLiteral("*"), QStringLiteral("0301*"), QStringLiteral("03?1"), QStringLiteral("0301;*"),
          QStringLiteral("0301;"), QStringLiteral("0301\n"), QStringLiteral("03\u200B01"), QString(100 * 1024, u'1')})
        EXPECT_FALSE(IsLiteralPattern(hostile)) << hostile.toStdString();
}

namespace {

// An incoming external call with call id 5 on line 0 from +49301234 to extension 21.
std::shared_ptr<TOrvixLine> IncomingLine()
{
    auto line = std::make_shared<TOrvixLine>();
    line->SetLineIndex(0);
    line->SetCallId(5);
    line->SetIsOutgoingCall(0);
    line->SetIsInternalCall(0);
    line->SetCallerNumber("+49301234");
    line->SetIncomingExtension("21");
    return line;
}

std::shared_ptr<TOrvixLine> OutgoingLine()
{
    auto line = IncomingLine();
    line->SetIsOutgoingCall(1);
    line->SetCalledNumber("0800111");
    line->SetOutgoingExtension("22");
    return line;
}

QStringList StatesThatFire(const TRule& rule, const TOrvixLine& line)
{
    QStringList fired;
    for (const char* state : {"LSRinging", "LSDialing", "LSAlerting", "LSKnocking", "LSBusy", "LSActive",
                              "LSTerminated", "LSTransferred", "LSNotification", "LSInactive"}) {
        if (line.CheckRule(rule, QString::fromLatin1(state)))
            fired.append(QString::fromLatin1(state));
    }
    return fired;
}

} // namespace

TEST(RuleMatching, IncomingSituationsAndOrigin)
{
    TRule rule;
    rule.SetCallOptionBase({cobIn});
    rule.SetCallOptionInEx({coExtern});
    rule.SetCallOptionIn({coiIncomingCall});
    auto line = IncomingLine();
    EXPECT_EQ(StatesThatFire(rule, *line), QStringList {"LSRinging"});

    line->SetIsInternalCall(-1);
    EXPECT_EQ(StatesThatFire(rule, *line), QStringList {"LSRinging"}) << "an undetermined origin passes";
    line->SetIsInternalCall(1);
    EXPECT_TRUE(StatesThatFire(rule, *line).isEmpty());

    line->SetIsInternalCall(0);
    for (int callId : {0, -1}) {
        line->SetCallId(callId);
        EXPECT_TRUE(StatesThatFire(rule, *line).isEmpty()) << callId;
    }

    line->SetCallId(5);
    rule.SetCallOptionIn({coiAll});
    EXPECT_EQ(StatesThatFire(rule, *line), (QStringList {"LSRinging", "LSActive", "LSTerminated"}));

    line->SetIsOutgoingCall(-1);
    EXPECT_TRUE(StatesThatFire(rule, *line).isEmpty()) << "a call of unknown direction fires no incoming rule";

    rule.SetActive(false);
    line->SetIsOutgoingCall(0);
    EXPECT_TRUE(StatesThatFire(rule, *line).isEmpty());
}

TEST(RuleMatching, OutgoingSituations)
{
    TRule rule;
    rule.SetCallOptionBase({cobOut});
    rule.SetCallOptionInEx({coIntern, coExtern});
    rule.SetCallOptionOut({cooAll});
    auto line = OutgoingLine();
    const QStringList outgoingStates {"LSDialing", "LSAlerting", "LSKnocking", "LSBusy", "LSActive", "LSTerminated"};
    EXPECT_EQ(StatesThatFire(rule, *line), outgoingStates);

    rule.SetCallOptionOut({cooDial});
    EXPECT_EQ(StatesThatFire(rule, *line), QStringList {"LSDialing"});

    rule.SetCallOptionOut({cooTerminated});
    line->SetCallId(-1);
    EXPECT_EQ(StatesThatFire(rule, *line), QStringList {"LSTerminated"})
        << "an outgoing call may end before it got an id";
}

TEST(RuleMatching, BothNumberFiltersMustMatch)
{
    TRule rule;
    rule.SetCallOptionBase({cobIn});
    rule.SetCallOptionInEx({coIntern, coExtern});
    rule.SetCallOptionIn({coiIncomingCall});
    rule.SetCallOptionInNumber({coinFromNumber, coinToExtension});
    auto line = IncomingLine();
    struct Case
    {
        const char* from;
        const char* to;
        bool fires;
    };
    for (const Case& c : {Case {"+4930*", "21", true}, Case {"+4930*", "22", false}, Case {"+4940*", "21", false},
                          Case {"*", "*", true}}) {
        rule.SetFromNumberIn(QString::fromLatin1(c.from));
        rule.SetToExtensionNumberIn(QString::fromLatin1(c.to));
        EXPECT_EQ(line->CheckRule(rule, "LSRinging"), c.fires) << c.from << " " << c.to;
    }
    rule.SetCallOptionInNumber({coinAll});
    rule.SetFromNumberIn("+4940*");
    rule.SetToExtensionNumberIn("21");
    EXPECT_FALSE(line->CheckRule(rule, "LSRinging"));
}

TEST(RuleMatching, SignalledTransferredAndProgramStartRules)
{
    TraceCapture trace;
    TRule signalled;
    signalled.SetCallOptionBase({cobNotification});
    signalled.SetCallOptionNotificationNumber({cosFromNumber});
    signalled.SetNotificationNumberIn("+4930*");
    TOrvixLine group;
    group.SetIsNotificationCall(true);
    EXPECT_FALSE(group.CheckRule(signalled, "LSNotification"));
    EXPECT_TRUE(trace.Has("OrvixLine::CheckNotificationRule:No notification values found, exiting..."));
    group.SetNotificationCallerNumber("+49301234");
    EXPECT_TRUE(group.CheckRule(signalled, "LSNotification"));
    group.SetNotificationCallerNumber("+49401234");
    EXPECT_FALSE(group.CheckRule(signalled, "LSNotification"));

    TRule transferred;
    transferred.SetCallOptionBase({cobTransfer});
    auto line = IncomingLine();
    EXPECT_TRUE(StatesThatFire(transferred, *line).isEmpty());
    line->SetIsTransferredCall(true);
    EXPECT_TRUE(line->CheckRule(transferred, "LSTransferred"));
    EXPECT_TRUE(line->CheckRule(transferred, "LSTerminated")) << "and again for the later states of the call";

    TRule atStart;
    atStart.SetCallOptionBase({cobIn, cobTransfer, cobApplicationStart});
    atStart.SetCallOptionIn({coiAll});
    atStart.SetCallOptionInEx({coIntern, coExtern});
    EXPECT_TRUE(StatesThatFire(atStart, *line).isEmpty());
}

TEST(RuleMatching, FiringRulesRunInListOrderEachOnItsOwnSnapshot)
{
    QStringList log;
    auto model = std::make_shared<TParameters>();
    auto* first = new RecordingAction("first", log);
    auto* second = new RecordingAction("second", log);
    for (RecordingAction* action : {first, second}) {
        auto* sequence = new TActionSequence;
        sequence->AddNewItem(action);
        model->ActionSequences().AddNewItem(sequence);
    }
    for (int i : {0, 1, 1}) {
        auto* rule = new TRule;
        rule->SetCallOptionBase({cobIn});
        rule->SetCallOptionInEx({coExtern});
        rule->SetCallOptionIn({coiIncomingCall});
        rule->AddNewItem(model->ActionSequences().GetObject(i));
        model->Rules().AddNewItem(rule);
    }
    model->Rules().Item<TRule>(2)->SetActive(false);
    auto line = IncomingLine();
    line->SetCallerName("Anna Berg");
    RunRules(*model, *line, "LSRinging");

    EXPECT_EQ(log, (QStringList {"first", "second"}));
    ASSERT_EQ(first->lines.size(), 1);
    ASSERT_EQ(second->lines.size(), 1);
    EXPECT_NE(first->lines[0], second->lines[0]);
    EXPECT_NE(first->lines[0].get(), line.get());
    EXPECT_EQ(first->lines[0]->CallerName(), QStringLiteral("Anna Berg"));
}

TEST(RuleMatching, ConvertNumberRemovesSeparatorsAfterTheLineManager)
{
    FakeLineManager softphone;
    auto manager = std::make_shared<TClientLineMgr>(&softphone);
    manager->Connect();
    TOrvixLine line;
    line.SetClientLineMgr(manager);
    EXPECT_EQ(line.ConvertNumber("(0) 1-2/3.4"), QStringLiteral("01-234"));
    EXPECT_EQ(line.ConvertNumber("030 / 12 34"), QStringLiteral("+49301234"));
}

// Every rule is checked at every state of every call: a model of many rules would write
// all of them out again each time.
TEST(RuleMatching, RuleIsDumpedOnlyWhenFirstSeenOrChanged)
{
    TraceCapture trace;
    TRule rule;
    rule.SetName("Anrufe von Anna");
    rule.SetCallOptionBase({cobIn});
    auto line = IncomingLine();
    const QString title = QStringLiteral("OrvixLine::CheckRule:Checking rule");
    const auto checked = [&] {
        trace.Clear();
        line->CheckRule(rule, "LSRinging");
        return trace.LastValue(title);
    };

    const QString first = checked();
    EXPECT_TRUE(first.contains(QStringLiteral("CallOptionBase="))) << first.toStdString();
    const QString again = checked();
    EXPECT_TRUE(again.contains(QStringLiteral("Anrufe von Anna"))) << again.toStdString();
    EXPECT_FALSE(again.contains(QStringLiteral("CallOptionBase="))) << again.toStdString();
    EXPECT_EQ(trace.Count(title), 1);

    rule.SetFromNumberIn("+4930*");
    EXPECT_TRUE(checked().contains(QStringLiteral("FromNumberIn=+4930*"))) << "a changed rule is dumped again";
    EXPECT_FALSE(checked().contains(QStringLiteral("FromNumberIn=")));

    // A new output (a new trace file, a reader that connects) has not seen the dump.
    TraceCapture other;
    EXPECT_TRUE(checked().contains(QStringLiteral("FromNumberIn=+4930*")));
}
