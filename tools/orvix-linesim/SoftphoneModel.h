// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "LineManager.h"
#include "NumberConverter.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <vector>

/**
 * @brief The simulated OrvixIt! softphone: its lines, their calls and the signalled group call.
 *
 * The upper-case methods are the line manager's operations as the softphone
 * offers them on the bus; the lower-case ones play the network side (a caller
 * rings, the called party answers ...). Every change is announced through
 * LineMgrNotification with the line manager's codes, synchronously, so that a
 * receiver in the same process reads the line in the state it was announced in.
 * Refused operations throw SoftphoneError. Call ids are unique per model,
 * increasing from 1.
 */
class SoftphoneModel : public LineManager
{
    Q_OBJECT

public:
    enum LineState
    {
        LSInactive = 0,
        LSHookOffInternal = 1,
        LSHookOffExternal = 2,
        LSRinging = 3,
        LSDialing = 4,
        LSAlerting = 5,
        LSKnocking = 6,
        LSBusy = 7,
        LSActive = 8,
        LSOnHold = 9,
        LSConferenceActive = 10,
        LSConferenceOnHold = 11,
        LSTerminated = 12,
        LSDirectCall = 13
    };
    Q_ENUM(LineState)

    enum EventMsg
    {
        EventLineDetails = 2, // EventParam: line index
        EventGroupCall = 8, // EventParam: 1 signalled, 0 withdrawn
        EventLineState = 28 // EventParam: state << 8 | line index
    };

    // Disconnect reasons after Q.850, as the last call reports them.
    enum DiscReason
    {
        DiscNormal = 16,
        DiscBusy = 17,
        DiscRejected = 21
    };

    struct IncomingCall
    {
        QString number;
        QString name;
        QString extension; // the user's extension that was called
        QString calledName;
        int internal = -1; // 1 internal, 0 external, -1 the network did not say
    };

    struct GroupCall
    {
        QString number;
        QString name;
        QString calledName;
        QString calledExtension;
        QString redirectedFromNumber;
        QString redirectedFromName;
    };

    // The simulator's own entry in GetLine: the DTMF strings sent with Dial during the line's latest call.
    static constexpr const char* SentDtmfKey = "SimSentDtmf";
    static constexpr int MaxLines = 255; // the line index travels in one byte of EventParam

    explicit SoftphoneModel(int lineCount = 4, NumberConverter converter = {}, QObject* parent = nullptr);

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    int lineState(int lineIndex) const;
    const NumberConverter& converter() const { return m_converter; }
    // How long an ended call stays in LSTerminated before the line becomes
    // LSInactive. 0 (the default) does both at once; the service uses a moment,
    // so that a client reading the line after the notification still finds the call.
    void setTerminatedHoldMs(int ms) { m_terminatedHoldMs = ms; }
    // Tests pin the time; the default is the local wall clock.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    static QString stateName(int state);
    // Days since 1899-12-30 00:00 with the time of day as the fraction, the softphone's date-time format.
    static double dayNumber(const QDateTime& time);

    // The trace line of a notification: "line 1: LSRinging" and so on.
    static QString describeNotification(int eventMsg, int eventParam);

    QVariantMap GetLine(int lineIndex) const override;
    QString ConvertNumber(int style, const QString& number) const override;
    QVariantMap GetNotificationCall() const override;
    void PickupGroupNotificationCall(int lineIndex) override;
    void HookOff(int lineIndex) override;
    void HookOn(int lineIndex) override;
    void Dial(int lineIndex, const QString& digits) override;
    // The user's own call: dialing, then alerting, until the far end answers or is busy.
    int MakeCall(int lineIndex, const QString& number) override;

    // Whether a softphone can dial the text as it is: digits, "*" and "#", optionally after one leading "+".
    static bool isDialable(const QString& number);
    // The first line without a call; InvalidState naming the action when every line is busy.
    int idleLine(const QString& action) const;

    void incoming(int lineIndex, const IncomingCall& call);
    void answer(int lineIndex) { HookOff(lineIndex); }
    // The far end hangs up.
    void hangup(int lineIndex);
    // Dials out and at once hears the far end ring: dialOut followed by alerting.
    void outgoing(int lineIndex, const QString& number, const QString& extension);
    void dialOut(int lineIndex, const QString& number, const QString& extension);
    void alerting(int lineIndex);
    void remoteAnswer(int lineIndex);
    void remoteBusy(int lineIndex);
    void hold(int lineIndex);
    void retrieve(int lineIndex);
    void transfer(int lineIndex, const QString& number, const QString& name);
    // DTMF digits the far end sent into the connected call.
    void receiveDtmf(int lineIndex, const QString& digits);
    void groupCall(const GroupCall& call);
    void groupCallEnd();

private:
    struct Call
    {
        int id = 0;
        QString peerNumber;
        QString peerName;
        QString calledExtension;
        QString calledName;
        QString acknowledgedDialstring;
        QString outgoingExtension;
        QString redirectedFromNumber;
        QString redirectedFromName;
        QString receivedDtmf;
        int isOutgoing = 0;
        int isGroupCall = 0;
        int internal = -1;
        int discReason = 0;
        bool wasConnected = false;
        double connectionStart = 0;
        double connectionFinished = 0;
    };

    struct LastCall
    {
        int id = 0;
        QString peersNumber;
        QString peersName;
        QString extension;
        QString calledExtension;
        QString calledName;
        int isOutgoing = 0;
        int wasConnected = 0;
        int discReason = 0;
        double start = 0;
        double finished = 0;
    };

    struct Line
    {
        int state = LSInactive;
        std::optional<Call> call;
        std::optional<LastCall> last;
        QStringList sentDtmf;
    };

    Line& line(int lineIndex);
    const Line& line(int lineIndex) const;
    // The line's call, provided the line is in one of the states; otherwise NoCall or InvalidState naming the action.
    Call& callIn(int lineIndex, std::initializer_list<int> states, const QString& action);
    Call& startCall(int lineIndex, const QString& action);
    void endCall(int lineIndex, int discReason);
    // The ended call becomes the line's last call and the line goes idle.
    void clearLine(int lineIndex);
    void markConnected(Call& call);
    void setState(int lineIndex, int state);
    double now() const { return dayNumber(m_clock()); }

    std::vector<Line> m_lines;
    NumberConverter m_converter;
    std::optional<GroupCall> m_groupCall;
    std::function<QDateTime()> m_clock;
    int m_lastCallId = 0;
    int m_terminatedHoldMs = 0;
};
