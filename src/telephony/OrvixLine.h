#pragma once

#include "model/BaseObject.h"
#include "model/DateTime.h"
#include "model/Property.h"
#include "model/UserVariable.h"

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
    Q_PROPERTY(QString LineState MEMBER FLineState)
    Q_PROPERTY(QStringList LineStateQueue MEMBER FLineStateQueue)
    Q_PROPERTY(QStringList LineStateHistory MEMBER FLineStateHistory)
    Q_PROPERTY(QString LastLineState MEMBER FLastLineState)
    Q_PROPERTY(bool LineStateTerminated MEMBER FLineStateTerminated)
    Q_PROPERTY(QStringList LineStatesPossible MEMBER FLineStatesPossible)
    Q_PROPERTY(int LineIndex MEMBER FLineIndex)
    Q_PROPERTY(QString NotificationCallerName MEMBER FNotificationCallerName)
    Q_PROPERTY(QString NotificationCallerNumber MEMBER FNotificationCallerNumber)
    Q_PROPERTY(QString NotificationCalledName MEMBER FNotificationCalledName)
    Q_PROPERTY(QString NotificationCalledExtension MEMBER FNotificationCalledExtension)
    Q_PROPERTY(QString NotificationCallRedirectedFromName MEMBER FNotificationCallRedirectedFromName)
    Q_PROPERTY(QString NotificationCallRedirectedFromNumber MEMBER FNotificationCallRedirectedFromNumber)
    Q_PROPERTY(QString AcknowledgedDialstring MEMBER FAcknowledgedDialstring)
    Q_PROPERTY(int CallId MEMBER FCallId)
    Q_PROPERTY(int CallWasRedirected MEMBER FCallWasRedirected)
    Q_PROPERTY(QString CalledName MEMBER FCalledName)
    Q_PROPERTY(QString CalledNumber MEMBER FCalledNumber)
    Q_PROPERTY(QString CalledExtension MEMBER FCalledExtension)
    Q_PROPERTY(QString CallerName MEMBER FCallerName)
    Q_PROPERTY(QString CallerNumber MEMBER FCallerNumber)
    Q_PROPERTY(QString ChargingDetails MEMBER FChargingDetails)
    Q_PROPERTY(TDateTime ConnectionDurationTime MEMBER FConnectionDurationTime)
    Q_PROPERTY(TDateTime ConnectionFinishedTime MEMBER FConnectionFinishedTime)
    Q_PROPERTY(TDateTime ConnectionStartTime MEMBER FConnectionStartTime)
    Q_PROPERTY(int DiscReason MEMBER FDiscReason)
    Q_PROPERTY(QString IncomingExtension MEMBER FIncomingExtension)
    Q_PROPERTY(int IsDirectCall MEMBER FIsDirectCall)
    Q_PROPERTY(int IsGroupCall MEMBER FIsGroupCall)
    Q_PROPERTY(int IsOutgoingCall MEMBER FIsOutgoingCall)
    Q_PROPERTY(QString LastCallCalledExtension MEMBER FLastCallCalledExtension)
    Q_PROPERTY(QString LastCallCalledName MEMBER FLastCallCalledName)
    Q_PROPERTY(QString LastCallChargingDetails MEMBER FLastCallChargingDetails)
    Q_PROPERTY(QString LastCallExtension MEMBER FLastCallExtension)
    Q_PROPERTY(QString LastCallLcrPrefix MEMBER FLastCallLcrPrefix)
    Q_PROPERTY(QString LastCallPeersNumber MEMBER FLastCallPeersNumber)
    Q_PROPERTY(QString LastCallPeersPbxUserName MEMBER FLastCallPeersPbxUserName)
    Q_PROPERTY(int LastCallDiscReason MEMBER FLastCallDiscReason)
    Q_PROPERTY(int LastCallId MEMBER FLastCallId)
    Q_PROPERTY(int LastCallIsOutgoingCall MEMBER FLastCallIsOutgoingCall)
    Q_PROPERTY(int LastCallWasConnected MEMBER FLastCallWasConnected)
    Q_PROPERTY(TDateTime LastCallFinishedTime MEMBER FLastCallFinishedTime)
    Q_PROPERTY(TDateTime LastCallStartTime MEMBER FLastCallStartTime)
    Q_PROPERTY(int NumberOfConferenceParticipants MEMBER FNumberOfConferenceParticipants)
    Q_PROPERTY(QString OutgoingExtension MEMBER FOutgoingExtension)
    Q_PROPERTY(QString PeerNumberPublicFormat MEMBER FPeerNumberPublicFormat)
    Q_PROPERTY(QString ReceivedDtmfDigits MEMBER FReceivedDtmfDigits)
    Q_PROPERTY(QString RedirectedFromName MEMBER FRedirectedFromName)
    Q_PROPERTY(QString RedirectedFromNumber MEMBER FRedirectedFromNumber)
    Q_PROPERTY(int State MEMBER FState)
    Q_PROPERTY(TDateTime ConnectionStartDateTime MEMBER FConnectionStartDateTime)
    Q_PROPERTY(TDateTime ConnectionFinishedDateTime MEMBER FConnectionFinishedDateTime)
    Q_PROPERTY(int IsInternalCall MEMBER FIsInternalCall)
    Q_PROPERTY(bool IsNotificationCall MEMBER FIsNotificationCall)
    Q_PROPERTY(bool IsTransferredCall MEMBER FIsTransferredCall)
    Q_PROPERTY(bool IsTestMode MEMBER FIsTestMode)

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
    // The line manager's line index.
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
    // Start of the connection period.
    KESTRUN_FIELD(TDateTime, ConnectionStartDateTime, 0)
    // End of the connection period.
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

    // Refresh from the line manager; with true the rules run for the new states.
    void GetLineInfos(bool executeActions);
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

    // Set while the state queue is being drained.
    bool ExecutingRules() const { return m_executingRules; }
    void SetExecutingRules(bool executing) { m_executingRules = executing; }

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
    void StopFollowingLine();

    std::shared_ptr<TClientLineMgr> m_clientLineMgr;
    bool m_followsLine = false;
    TRuleRunner m_ruleRunner;
    bool m_executingRules = false;
    QMap<QString, TUserVariable> m_temporaryVariables;
};
