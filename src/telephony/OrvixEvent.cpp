// SPDX-License-Identifier: GPL-3.0-or-later

#include "telephony/OrvixEvent.h"

#include "telephony/ClientLineMgr.h"
#include "telephony/LineEvents.h"
#include "trace/Trace.h"

namespace {

const QString ControllerPrefix = QStringLiteral("OrvixEvent::ClientLineMgrNotification:");

// No further state of the call will come: no rules run for it any more, and the line
// manager is let go, so that the registry replaces the object at the next event.
void EndLine(TOrvixLine& line)
{
    line.SetLineStateTerminated(true);
    line.SetClientLineMgr(nullptr);
}

} // namespace

TOrvixEventController::TOrvixEventController(LineManagerService* service)
    : m_clientLineMgr(std::make_shared<TClientLineMgr>(service))
{
    m_clientLineMgr->SetAutoConnect(true);
    m_clientLineMgr->SetOnDispOnLineMgrNotification([this](TClientLineMgr* sender, int eventMsg, int eventParam) {
        ClientLineMgrNotification(sender, eventMsg, eventParam);
    });
    m_availabilityConnection =
        QObject::connect(m_clientLineMgr.get(), &TClientLineMgr::AvailabilityChanged, m_clientLineMgr.get(),
                         [this](bool available) { EndRegisteredLines(available); });
    m_clientLineMgr->Connect();
}

TOrvixEventController::~TOrvixEventController()
{
    // Line objects that outlive the controller keep the manager, but it must no
    // longer call back into a controller that is gone.
    m_clientLineMgr->SetOnDispOnLineMgrNotification({});
    QObject::disconnect(m_availabilityConnection);
    m_clientLineMgr->Disconnect();
}

void TOrvixEventController::ClientLineMgrNotification(TClientLineMgr* /*sender*/, int eventMsg, int eventParam)
{
    if (!FActive) {
        Trace::Message("OrvixEvent::ClientLineMgrNotification:OrvixEventController inactive");
        return;
    }
    if (eventMsg != CLMgrLineDetailsChangedMessage && eventMsg != CLMgrGroupCallNotificationMessage &&
        eventMsg != CLMgrLineStateChangedMessageEx)
        return;

    try {
        const int lineIndex = EventLineIndex(eventParam);
        Trace::Message(DescribeLineMgrEvent(ControllerPrefix, eventMsg, eventParam));

        // Held here, so that a notification arriving inside this one (from a
        // dialog of a rule) may replace the registry entry without pulling the
        // line object from under the run that is still draining its queue.
        // Read at most once per notification (a round trip to the softphone): when
        // the call id had to be checked, the line's data come from that reading.
        std::unique_ptr<TClientLine> reported;
        const std::shared_ptr<TOrvixLine> line =
            CreateOrGetLine(eventMsg == CLMgrGroupCallNotificationMessage ? -1 : lineIndex, reported);
        line->SetClientLineMgr(m_clientLineMgr);

        switch (eventMsg) {
        case CLMgrLineStateChangedMessageEx:
            if (!line->RecordLineState(LineStateName(EventStateCode(eventParam)), ControllerPrefix))
                break;
            if (reported)
                line->GetLineInfos(true, *reported);
            else
                line->GetLineInfos(true);
            break;
        case CLMgrLineDetailsChangedMessage:
            line->GetChangedLineInfos(true);
            break;
        case CLMgrGroupCallNotificationMessage:
            if (eventParam == 1) {
                Trace::Message("OrvixEvent::ClientLineMgrNotification:Notification call");
                line->GetNotificationCallInfos(true);
            }
            break;
        default:
            break;
        }
    } catch (const std::exception& error) {
        Trace::Exception("OrvixEvent::ClientLineMgrNotification", error);
    }
}

std::shared_ptr<TOrvixLine> TOrvixEventController::CreateOrGetLine(int key, std::unique_ptr<TClientLine>& reported)
{
    if (key != -1) {
        const auto found = m_orvixLineList.find(key);
        if (found != m_orvixLineList.end() && found->second->ClientLineMgr()) {
            if (!HoldsAnotherCall(*found->second, reported)) {
                Trace::Object("OrvixEvent::ClientLineMgrNotification:CreateOrGetLine:OrvixLine found",
                              found->second.get());
                return found->second;
            }
            if (found->second->ExecutingRules()) {
                // The previous call's run still waits (a window, a lookup, a program): it goes on
                // with the states of its own call already queued, the new call gets an object of its own.
                Trace::Value("OrvixEvent::ClientLineMgrNotification:Line busy with the previous call, new call id",
                             key);
            } else {
                Trace::Value("OrvixEvent::ClientLineMgrNotification:Line ended, new call id", key);
                EndLine(*found->second);
            }
        }
    }
    auto line = std::make_shared<TOrvixLine>();
    line->SetLineIndex(key);
    line->SetRuleRunner(m_ruleRunner);
    m_orvixLineList.erase(key);
    if (key != -1) {
        line->SetCallEndObserver(m_callEndObserver);
        m_orvixLineList.emplace(key, line);
    }
    Trace::Object("OrvixEvent::ClientLineMgrNotification:CreateOrGetLine:OrvixLine created", line.get());
    return line;
}

bool TOrvixEventController::HoldsAnotherCall(const TOrvixLine& line, std::unique_ptr<TClientLine>& reported) const
{
    // Until the line object knows its call there is nothing to compare. Its own call id is
    // compared, not the current one, which an idle line sets to 0 while a run still waits.
    if (line.OwnCallId() <= 0)
        return false;
    reported = m_clientLineMgr->DispGetLine(line.LineIndex());
    const int callId = reported->DispCallId();
    return callId > 0 && callId != line.OwnCallId();
}

void TOrvixEventController::EndRegisteredLines(bool lineManagerAvailable)
{
    for (const auto& [lineIndex, line] : m_orvixLineList) {
        if (!line->ClientLineMgr())
            continue;
        if (lineManagerAvailable)
            Trace::Value("OrvixEvent::ClientLineMgrAvailability:Line ended, line manager restarted", lineIndex);
        else
            Trace::Value("OrvixEvent::ClientLineMgrAvailability:Line ended, line manager gone", lineIndex);
        EndLine(*line);
    }
    m_orvixLineList.clear();
}

std::shared_ptr<TOrvixLine> TOrvixEventController::RegisteredLine(int lineIndex) const
{
    const auto found = m_orvixLineList.find(lineIndex);
    return found != m_orvixLineList.end() ? found->second : nullptr;
}
