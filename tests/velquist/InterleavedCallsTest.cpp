// SPDX-License-Identifier: GPL-3.0-or-later

// Two calls on two lines while the first one's run waits: for a directory
// server that takes its time, and for the user in a question window. The
// second call is handled meanwhile, and each run keeps its own caller's data.
#include "FakeLineManager.h"
#include "FakeUserInterface.h"
#include "TestActions.h"
#include "VelquistTestSupport.h"

#include "TraceCapture.h"
#include "engine/RulesRun.h"
#include "model/ActionSequence.h"
#include "model/BaseAction.h"
#include "model/Rule.h"
#include "parameters/ParameterInteraction.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterVelquist.h"
#include "rulesfile/Parameters.h"
#include "telephony/OrvixEvent.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace {

TParameterOrvix* CallerName()
{
    auto* parameter = new TParameterOrvix;
    parameter->SetParameterValue(QStringLiteral("orvixCallerName"));
    return parameter;
}

std::string Surname(const std::string& name)
{
    return "<DataSet><diffgr:diffgram><R><T><surname>" + name + "</surname></T></R></diffgr:diffgram></DataSet>";
}

// One rule for every incoming call whose action resolves the given parameters.
class InterleavedCalls : public VelquistFixture
{
public:
    void Build(std::initializer_list<TBaseParameter*> parameters)
    {
        for (TBaseParameter* parameter : parameters)
            m_action->AddNewItem(parameter);
        auto* sequence = new TActionSequence;
        sequence->AddNewItem(m_action);
        m_model->ActionSequences().AddNewItem(sequence);
        m_model->Rules().AddNewItem(IncomingRule(QStringLiteral("Jeder Anruf"), sequence));
        m_controller.SetRuleRunner(
            [model = m_model](TOrvixLine& line, const QString& state) { RunRules(*model, line, state); });
        LineManagerService::SetInstance(&m_softphone);
    }

    // Rings line 0 and lets the program run until both calls' runs ended (or it
    // is clear that they will not).
    void RingAndWaitForTwoRuns()
    {
        m_softphone.lines[0] = IncomingCall(5, QStringLiteral("0301111"), QStringLiteral("Anna"));
        m_softphone.ChangeState(0, LSRinging);
        const QDeadlineTimer patience(20000);
        while (m_action->results.size() < 2 && !patience.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }

    // The second call, on line 1; its notification arrives when the program next takes events in.
    void RingLine1()
    {
        m_softphone.lines[1] = IncomingCall(6, QStringLiteral("0302222"), QStringLiteral("Bernd"));
        m_softphone.ChangeState(1, LSRinging);
    }

    FakeLineManager m_softphone;
    std::shared_ptr<TParameters> m_model = std::make_shared<TParameters>();
    TOrvixEventController m_controller {&m_softphone};
    QStringList m_log;
    RecordingAction* m_action = new RecordingAction(QStringLiteral("Anrufer"), m_log);
};

} // namespace

TEST_F(InterleavedCalls, ACallOnAnotherLineIsHandledWhileALookupWaits)
{
    LocalHttpServer server;
    TVelquist::SetBaseUrl(QStringLiteral("http://") + server.Host());
    auto* lookup = new TParameterVelquist;
    lookup->SetSearchOptionOrvix(true);
    lookup->SetSearchOptionOrvixValue(QStringLiteral("orvixCallerName"));
    lookup->SetSearchField(QStringLiteral("searchcontact"));
    lookup->SetParameterValue(QStringLiteral("surname"));
    Build({CallerName(), lookup, CallerName()});

    // Anna's search hangs until Bernd's run is over; Bernd's is answered at once.
    server.SetAnswer({.body = Surname("Berg"), .hang = true});
    QTimer annasSearchHangs;
    QObject::connect(&annasSearchHangs, &QTimer::timeout, [&] {
        if (server.HangingRequests() != 1)
            return;
        annasSearchHangs.stop();
        server.SetAnswer({.body = Surname("Keller")});
        RingLine1();
    });
    annasSearchHangs.start(10);
    m_action->onRunEnded = [&server] { server.Release(); };
    RingAndWaitForTwoRuns();

    ASSERT_EQ(m_action->results.size(), 2);
    EXPECT_EQ(m_action->Texts(0), (QStringList {"Bernd", "Keller", "Bernd"})) << "handled during the wait";
    EXPECT_EQ(m_action->Texts(1), (QStringList {"Anna", "Berg", "Anna"}));
}

TEST_F(InterleavedCalls, TwoCallsDuringAQuestionWindowEachResolveTheirOwnCaller)
{
    auto* question = new TParameterInteraction;
    Build({CallerName(), question, CallerName()});

    // The first question window stays open until the second call's run is over;
    // the second is answered at once.
    class Window : public TParameterInteractionForm
    {
    public:
        Window(InterleavedCalls& test, bool first)
            : m_test(test)
            , m_first(first)
        {
        }
        bool ShowModal() override
        {
            if (m_first) {
                m_test.RingLine1();
                QEventLoop modal;
                m_test.m_action->onRunEnded = [&modal] { modal.quit(); };
                modal.exec();
                m_test.m_action->onRunEnded = {};
            }
            FAnswer = m_first ? QStringLiteral("erste Antwort") : QStringLiteral("zweite Antwort");
            return true;
        }

    private:
        InterleavedCalls& m_test;
        bool m_first;
    };
    int windows = 0;
    FakeUserInterface ui([&] { return std::make_unique<Window>(*this, windows++ == 0); });
    RingAndWaitForTwoRuns();

    ASSERT_EQ(m_action->results.size(), 2);
    EXPECT_EQ(m_action->Texts(0), (QStringList {"Bernd", "zweite Antwort", "Bernd"}));
    EXPECT_EQ(m_action->Texts(1), (QStringList {"Anna", "erste Antwort", "Anna"}));
}
