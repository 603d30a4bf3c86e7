// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseObject.h"
#include "model/DateTime.h"
#include "model/Property.h"
#include "model/UserVariable.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TClientLine;
class TClientLineMgr;
class TRule;

/**
 * @brief The state history and call data of the call on one telephone line.
 *
 * The event controller keeps one per line and feeds it the line manager's
 * notifications. The same class is the call snapshot: a copy made for each rule
 * run (Assign copies every property below; the copy gets no line manager and
 * its own empty user variables), which actions and parameters read and which a
 * notification window keeps following while it is shown.
 * Date-times are day numbers (0 = not set); integer flags use -1 for "not yet known".
 */
class TOrvixLine : public TBaseObject
{
    Q_OBJECT
    Q_PROPERTY(QString LineState READ LineState WRITE SetLineState)
    Q_PROPERTY(QStringList LineStateQueue READ LineStateQueue WRITE SetLineStateQueue)
    Q_PROPERTY(QStringList LineStateHistory READ LineStateHistory WRITE SetLineStateHistory)
    Q_PROPERTY(QString LastLineState READ LastLineState WRITE SetLastLineState)
    Q_PROPERTY(bool LineStateTerminated READ LineStateTerminated WRITE SetLineStateTerminated)
    Q_PROPERTY(QStringList LineStatesPossible READ LineStatesPossible WRITE SetLineStatesPossible)
    Q_PROPERTY(int LineIndex READ LineIndex WRITE SetLineIndex)
    Q_PROPERTY(QString NotificationCallerName READ NotificationCallerName WRITE SetNotificationCallerName)
    Q_PROPERTY(QString NotificationCallerNumber READ NotificationCallerNumber WRITE SetNotificationCallerNumber)
    Q_PROPERTY(QString NotificationCalledName READ NotificationCalledName WRITE SetNotificationCalledName)
    Q_PROPERTY(
        QString NotificationCalledExtension READ NotificationCalledExtension WRITE SetNotificationCalledExtension)
    Q_PROPERTY(QString NotificationCallRedirectedFromName READ NotificationCallRedirectedFromName WRITE
                   SetNotificationCallRedirectedFromName)
    Q_PROPERTY(QString NotificationCallRedirectedFromNumber READ NotificationCallRedirectedFromNumber WRITE
                   SetNotificationCallRedirectedFromNumber)
    Q_PROPERTY(QString AcknowledgedDialstring READ AcknowledgedDialstring WRITE SetAcknowledgedDialstring)
    Q_PROPERTY(int CallId READ CallId WRITE SetCallId)
    Q_PROPERTY(int CallWasRedirected READ CallWasRedirected WRITE SetCallWasRedirected)
    Q_PROPERTY(QString CalledName READ CalledName WRITE SetCalledName)
    Q_PROPERTY(QString CalledNumber READ CalledNumber WRITE SetCalledNumber)
    Q_PROPERTY(QString CalledExtension READ CalledExtension WRITE SetCalledExtension)
    Q_PROPERTY(QString CallerName READ CallerName WRITE SetCallerName)
    Q_PROPERTY(QString CallerNumber READ CallerNumber WRITE SetCallerNumber)
    Q_PROPERTY(QString ChargingDetails READ ChargingDetails WRITE SetChargingDetails)
    Q_PROPERTY(TDateTime ConnectionDurationTime READ ConnectionDurationTime WRITE SetConnectionDurationTime)
    Q_PROPERTY(TDateTime ConnectionFinishedTime READ ConnectionFinishedTime WRITE SetConnectionFinishedTime)
    Q_PROPERTY(TDateTime ConnectionStartTime READ ConnectionStartTime WRITE SetConnectionStartTime)
    Q_PROPERTY(int DiscReason READ DiscReason WRITE SetDiscReason)
    Q_PROPERTY(QString IncomingExtension READ IncomingExtension WRITE SetIncomingExtension)
    Q_PROPERTY(int IsDirectCall READ IsDirectCall WRITE SetIsDirectCall)
    Q_PROPERTY(int IsGroupCall READ IsGroupCall WRITE SetIsGroupCall)
    Q_PROPERTY(int IsOutgoingCall READ IsOutgoingCall WRITE SetIsOutgoingCall)
    Q_PROPERTY(QString LastCallCalledExtension READ LastCallCalledExtension WRITE SetLastCallCalledExtension)
    Q_PROPERTY(QString LastCallCalledName READ LastCallCalledName WRITE SetLastCallCalledName)
    Q_PROPERTY(QString LastCallChargingDetails READ LastCallChargingDetails WRITE SetLastCallChargingDetails)
    Q_PROPERTY(QString LastCallExtension READ LastCallExtension WRITE SetLastCallExtension)
    Q_PROPERTY(QString LastCallLcrPrefix READ LastCallLcrPrefix WRITE SetLastCallLcrPrefix)
    Q_PROPERTY(QString LastCallPeersNumber READ LastCallPeersNumber WRITE SetLastCallPeersNumber)
    Q_PROPERTY(QString LastCallPeersPbxUserName READ LastCallPeersPbxUserName WRITE SetLastCallPeersPbxUserName)
    Q_PROPERTY(int LastCallDiscReason READ LastCallDiscReason WRITE SetLastCallDiscReason)
    Q_PROPERTY(int LastCallId READ LastCallId WRITE SetLastCallId)
    Q_PROPERTY(int LastCallIsOutgoingCall READ LastCallIsOutgoingCall WRITE SetLastCallIsOutgoingCall)
    Q_PROPERTY(int LastCallWasConnected READ LastCallWasConnected WRITE SetLastCallWasConnected)
    Q_PROPERTY(TDateTime LastCallFinishedTime READ LastCallFinishedTime WRITE SetLastCallFinishedTime)
    Q_PROPERTY(TDateTime LastCallStartTime READ LastCallStartTime WRITE SetLastCallStartTime)
    Q_PROPERTY(
        int NumberOfConferenceParticipants READ NumberOfConferenceParticipants WRITE SetNumberOfConferenceParticipants)
    Q_PROPERTY(QString OutgoingExtension READ OutgoingExtension WRITE SetOutgoingExtension)
    Q_PROPERTY(QString PeerNumberPublicFormat READ PeerNumberPublicFormat WRITE SetPeerNumberPublicFormat)
    Q_PROPERTY(QString ReceivedDtmfDigits READ ReceivedDtmfDigits WRITE SetReceivedDtmfDigits)
    Q_PROPERTY(QString RedirectedFromName READ RedirectedFromName WRITE SetRedirectedFromName)
    Q_PROPERTY(QString RedirectedFromNumber READ RedirectedFromNumber WRITE SetRedirectedFromNumber)
    Q_PROPERTY(int State READ State WRITE SetState)
    Q_PROPERTY(TDateTime ConnectionStartDateTime READ ConnectionStartDateTime WRITE SetConnectionStartDateTime)
    Q_PROPERTY(TDateTime ConnectionFinishedDateTime READ ConnectionFinishedDateTime WRITE SetConnectionFinishedDateTime)
    Q_PROPERTY(int IsInternalCall READ IsInternalCall WRITE SetIsInternalCall)
    Q_PROPERTY(bool IsNotificationCall READ IsNotificationCall WRITE SetIsNotificationCall)
    Q_PROPERTY(bool IsTransferredCall READ IsTransferredCall WRITE SetIsTransferredCall)
    Q_PROPERTY(bool IsTestMode READ IsTestMode WRITE SetIsTestMode)

public:
    // Runs the rules for a state of this line (matching and execution live elsewhere).
    using TRuleRunner = std::function<void(TOrvixLine& line, const QString& lineState)>;

    TOrvixLine();
    ~TOrvixLine() override;

    // The number of user variables every call starts with: Custom0 .. Custom19.
    static constexpr int CustomVariableCount = 20;
    static QStringList DefaultLineStatesPossible();

    // State history.
    // Name of the latest state reported.
    KESTRUN_FIELD(QString, LineState, QStringLiteral("LSUnknown"))
    // States waiting to be processed, oldest first.
    KESTRUN_FIELD(QStringList, LineStateQueue)
    // Every state name reported, in order.
    KESTRUN_FIELD(QStringList, LineStateHistory)
    // Last state taken from the queue.
    KESTRUN_FIELD(QString, LastLineState)
    // The call is over; no more rule runs from the queue.
    KESTRUN_FIELD(bool, LineStateTerminated, false)
    // States that are queued.
    KESTRUN_FIELD(QStringList, LineStatesPossible, DefaultLineStatesPossible())
    KESTRUN_FIELD(int, LineIndex, -1)

    // Signalled group call.
    KESTRUN_FIELD(QString, NotificationCallerName)
    KESTRUN_FIELD(QString, NotificationCallerNumber)
    KESTRUN_FIELD(QString, NotificationCalledName)
    KESTRUN_FIELD(QString, NotificationCalledExtension)
    KESTRUN_FIELD(QString, NotificationCallRedirectedFromName)
    KESTRUN_FIELD(QString, NotificationCallRedirectedFromNumber)

    // Call data as the line manager reports it; -1 means not yet reported.
    KESTRUN_FIELD(QString, AcknowledgedDialstring)
    KESTRUN_FIELD(int, CallId, -1)
    KESTRUN_FIELD(int, CallWasRedirected, -1)
    KESTRUN_FIELD(QString, CalledName)
    KESTRUN_FIELD(QString, CalledNumber)
    KESTRUN_FIELD(QString, CalledExtension)
    KESTRUN_FIELD(QString, CallerName)
    KESTRUN_FIELD(QString, CallerNumber)
    KESTRUN_FIELD(QString, ChargingDetails)
    KESTRUN_FIELD(TDateTime, ConnectionDurationTime, 0)
    KESTRUN_FIELD(TDateTime, ConnectionFinishedTime, 0)
    KESTRUN_FIELD(TDateTime, ConnectionStartTime, 0)
    KESTRUN_FIELD(int, DiscReason, -1)
    KESTRUN_FIELD(QString, IncomingExtension)
    KESTRUN_FIELD(int, IsDirectCall, -1)
    KESTRUN_FIELD(int, IsGroupCall, -1)
    KESTRUN_FIELD(int, IsOutgoingCall, -1)

    // The line's previous call.
    KESTRUN_FIELD(QString, LastCallCalledExtension)
    KESTRUN_FIELD(QString, LastCallCalledName)
    KESTRUN_FIELD(QString, LastCallChargingDetails)
    KESTRUN_FIELD(QString, LastCallExtension)
    KESTRUN_FIELD(QString, LastCallLcrPrefix)
    KESTRUN_FIELD(QString, LastCallPeersNumber)
    KESTRUN_FIELD(QString, LastCallPeersPbxUserName)
    KESTRUN_FIELD(int, LastCallDiscReason, 0)
    KESTRUN_FIELD(int, LastCallId, 0)
    KESTRUN_FIELD(int, LastCallIsOutgoingCall, 0)
    KESTRUN_FIELD(int, LastCallWasConnected, 0)
    KESTRUN_FIELD(TDateTime, LastCallFinishedTime, 0)
    KESTRUN_FIELD(TDateTime, LastCallStartTime, 0)

    // More call data.
    KESTRUN_FIELD(int, NumberOfConferenceParticipants, -1)
    KESTRUN_FIELD(QString, OutgoingExtension)
    KESTRUN_FIELD(QString, PeerNumberPublicFormat)
    KESTRUN_FIELD(QString, ReceivedDtmfDigits)
    KESTRUN_FIELD(QString, RedirectedFromName)
    KESTRUN_FIELD(QString, RedirectedFromNumber)
    // The raw state code.
    KESTRUN_FIELD(int, State, 0)
    KESTRUN_FIELD(TDateTime, ConnectionStartDateTime, 0)
    KESTRUN_FIELD(TDateTime, ConnectionFinishedDateTime, 0)
    // 1 internal, 0 external, -1 not yet known.
    KESTRUN_FIELD(int, IsInternalCall, -1)
    // The object stands for a signalled group call.
    KESTRUN_FIELD(bool, IsNotificationCall, false)
    // A transfer was detected.
    KESTRUN_FIELD(bool, IsTransferredCall, false)
    // The object was made by the rule test.
    KESTRUN_FIELD(bool, IsTestMode, false)

    // The line manager this object reads from: the controller's (shared), or a
    // private one when a notification window or the rule test gives it one.
    const std::shared_ptr<TClientLineMgr>& ClientLineMgr() const { return m_clientLineMgr; }
    void SetClientLineMgr(std::shared_ptr<TClientLineMgr> clientLineMgr);
    // Gives a snapshot a private line manager and, unless in test mode, makes it
    // follow its line: state, data and terminated flag stay current, no rules run.
    void FollowLine(std::shared_ptr<TClientLineMgr> clientLineMgr);

    void SetRuleRunner(TRuleRunner ruleRunner) { m_ruleRunner = std::move(ruleRunner); }

    // Told once, when the call is over and the line lets its line manager go.
    using TCallEndObserver = std::function<void(const TOrvixLine& line)>;
    void SetCallEndObserver(TCallEndObserver observer) { m_callEndObserver = std::move(observer); }
    // When the line first reported a state other than "LSInactive"; invalid before. Not copied.
    const QDateTime& CallSeenAt() const { return m_callSeenAt; }
    // The names of the rules that fired for this call, in order. Not copied.
    const QStringList& FiredRules() const { return m_firedRules; }
    void NoteRuleFired(const QString& ruleName) { m_firedRules.append(ruleName); }

    // Refresh from the line manager; with true the rules run for the new states.
    void GetLineInfos(bool executeActions);
    // The same with the line as the line manager has just reported it.
    void GetLineInfos(bool executeActions, TClientLine& reported);
    // Transfer detection: the line's peer changed.
    void GetChangedLineInfos(bool executeActions);
    // The data of a signalled group call.
    void GetNotificationCallInfos(bool executeActions);
    // The notification handler of a snapshot that follows its line.
    void ClientLineMgrNotification(TClientLineMgr* sender, int eventMsg, int eventParam);
    // Records a reported state in LineState and the history (traced under the
    // title prefix); queues it when it is one of LineStatesPossible. Returns whether it was queued.
    bool RecordLineState(const QString& lineState, const QString& titlePrefix);
    // Offers the state to the rules (through the rule runner the controller gave the line).
    void ExecuteRules(const QString& currentLineState);

    // Whether the rule fires for this line in the given state.
    bool CheckRule(const TRule& rule, const QString& currentLineState) const;
    bool CheckIncomingRule(const TRule& rule, const QString& currentLineState) const;
    bool CheckOutgoingRule(const TRule& rule, const QString& currentLineState) const;
    bool CheckNotificationRule(const TRule& rule) const;
    // A number in the form the directory lookup searches for: the line manager's
    // canonical form without brackets, slashes, colons, semicolons, commas, points and blanks.
    QString ConvertNumber(const QString& number) const;
    // The same without a trace: for converting a whole address book, whose trace
    // would otherwise be two entries per stored number.
    QString CanonicalNumber(const QString& number) const;

    // Set while the state queue is being drained.
    bool ExecutingRules() const { return m_executingRules; }
    // The call this line object and its queue belong to: the first call id above 0
    // it read, kept when the line goes idle (which reports 0); 0 until then.
    int OwnCallId() const { return m_ownCallId; }

    // The user variables of this call, by exact name.
    const QMap<QString, TUserVariable>& TemporaryVariables() const { return m_temporaryVariables; }
    // Adds the variable or replaces the value of the one of that name.
    void SetUserVariable(const QString& name, const QString& value);
    // The value of the variable with exactly that name, or empty when there is none.
    virtual QString GetUserVariableResult(const QString& variable) const;

private:
    TClientLineMgr& LineManager() const;
    void ReadDispProperties(TClientLine& line, TClientLineMgr& manager);
    void DeriveConnectionPeriod(const TClientLine& line);
    void DrainStateQueue(bool executeActions);
    void RecordQueuedCallData();
    void ExecuteRules(const QString& currentLineState, TOrvixLine& callData);
    void StopFollowingLine();

    std::shared_ptr<TClientLineMgr> m_clientLineMgr;
    bool m_followsLine = false;
    TRuleRunner m_ruleRunner;
    TCallEndObserver m_callEndObserver;
    QDateTime m_callSeenAt;
    QStringList m_firedRules;
    bool m_executingRules = false;
    int m_ownCallId = 0;
    QMap<QString, TUserVariable> m_temporaryVariables;
    // The call data as each queued state found it, oldest first, beside
    // LineStateQueue: a state that waits while a run is under way is matched and
    // run with the data of its own moment, not with what the line holds by the
    // time its turn comes.
    QList<std::shared_ptr<TOrvixLine>> m_queuedCallData;
};
