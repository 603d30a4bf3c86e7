// SPDX-License-Identifier: GPL-3.0-or-later

#include "../linesim/LineSimTestSupport.h"
#include "LinesimCommand.h"

#include "actions/ActionOrvixTakeCall.h"
#include "actions/ui/ActionSequenceButton.h"
#include "actions/ui/BaseMessageForm.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "rulesfile/Parameters.h"
#include "telephony/ClientLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/DBusLineManagerService.h"
#include "telephony/LineEvents.h"

#include <QPointer>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

using namespace linesim_test;

namespace {

// A notification window with an "Annehmen" button, against the simulated
// softphone on the session bus: the button follows the real line.
class TakeCallButtonOverBus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        simulator.start(QStringLiteral(ORVIX_LINESIM_EXECUTABLE),
                        {QStringLiteral("--service"), service, QStringLiteral("serve")});
        ASSERT_TRUE(simulator.waitForStarted(Deadline));
        ASSERT_TRUE(waitUntil([this] { return bus.IsAvailable(); }));
        LineManagerService::SetInstance(&bus);
    }

    void TearDown() override
    {
        delete form.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        LineManagerService::SetInstance(nullptr);
        simulator.terminate();
        simulator.waitForFinished(Deadline);
    }

    void Command(const QStringList& arguments) { RunLinesimCommand(service, arguments, Deadline); }

    std::unique_ptr<TClientLine> Line0()
    {
        TClientLineMgr lineMgr(&bus);
        lineMgr.Connect();
        return lineMgr.DispGetLine(0);
    }

    // The snapshot a rule run makes of the ringing call on line 0.
    std::shared_ptr<TOrvixLine> RingingSnapshot()
    {
        auto snapshot = std::make_shared<TOrvixLine>();
        snapshot->SetLineIndex(0);
        snapshot->SetCallId(Line0()->DispCallId());
        snapshot->SetIsOutgoingCall(0);
        snapshot->SetLineState(QStringLiteral("LSRinging"));
        return snapshot;
    }

    TActionSequenceButton* OpenWindowWithTakeCallButton(std::shared_ptr<TOrvixLine> snapshot)
    {
        auto* sequence = new TActionSequence;
        sequence->SetID(QStringLiteral("{take}"));
        sequence->SetName(QStringLiteral("Annehmen"));
        sequence->AddNewItem(new TActionOrvixTakeCall);
        model->ActionSequences().AddNewItem(sequence);
        TMessageWindowRequest request;
        request.Caption = QStringLiteral("Anrufer");
        request.TimeOut = false;
        request.SequenceIDs = {sequence->ID()};
        request.Line = std::move(snapshot);
        form = new TBaseMessageForm([this] { return model; });
        form->Open(request, TNotificationSettings());
        return form->findChild<TActionSequenceButton*>();
    }

    QString service = uniqueServiceName("takecall");
    DBusLineManagerService bus {service};
    QProcess simulator;
    std::shared_ptr<TParameters> model = std::make_shared<TParameters>();
    QPointer<TBaseMessageForm> form;
};

} // namespace

TEST_F(TakeCallButtonOverBus, EnabledWhileRingingAndTakesTheCall)
{
    Command({"incoming", "--line", "0", "--number", "0301234567", "--name", "Anna Berg", "--external"});
    ASSERT_TRUE(waitUntil([this] { return Line0()->DispState() == LSRinging; }));
    TActionSequenceButton* button = OpenWindowWithTakeCallButton(RingingSnapshot());
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([this] { return Line0()->DispState() == LSActive; }));
    EXPECT_TRUE(waitUntil([button] { return !button->isEnabled(); }));
}

TEST_F(TakeCallButtonOverBus, DisabledWhenAnsweredElsewhere)
{
    Command({"incoming", "--line", "0", "--number", "0301234567", "--name", "Anna Berg", "--external"});
    ASSERT_TRUE(waitUntil([this] { return Line0()->DispState() == LSRinging; }));
    TActionSequenceButton* button = OpenWindowWithTakeCallButton(RingingSnapshot());
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());

    Command({"answer", "--line", "0"});
    EXPECT_TRUE(waitUntil([button] { return !button->isEnabled(); }));
}
