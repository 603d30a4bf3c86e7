// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/DateTime.h"

#include <QString>
#include <QVariantMap>

class LineManagerService;

// The details record of a line; only the internal-call flag is of use.
struct TClientLineDetails
{
    int m_bIsInternalCall = -1;
};

/**
 * @brief One line of the softphone as read by DispGetLine: its display
 * properties at that moment and the operations on the line.
 *
 * The properties are read once, when the line is got; get the line again for
 * fresh values. Operations go to the softphone at once and throw ELineManagerError.
 */
class TClientLine
{
public:
    TClientLine(LineManagerService& service, int lineIndex, QVariantMap properties);

    // Whether the softphone answered with display properties for this line.
    bool HasDisp() const { return !m_properties.isEmpty(); }

    int DispState() const { return Integer("DispState"); }
    int DispCallId() const { return Integer("DispCallId"); }
    QString DispAcknowledgedDialstring() const { return Text("DispAcknowledgedDialstring"); }
    QString DispPeerNumber() const { return Text("DispPeerNumber"); }
    QString DispPeerName() const { return Text("DispPeerName"); }
    QString DispCalledExtension() const { return Text("DispCalledExtension"); }
    QString DispCalledName() const { return Text("DispCalledName"); }
    int DispIsDirectCall() const { return Integer("DispIsDirectCall"); }
    int DispCallWasRedirected() const { return Integer("DispCallWasRedirected"); }
    int DispIsGroupCall() const { return Integer("DispIsGroupCall"); }
    QString DispRedirectedFromNumber() const { return Text("DispRedirectedFromNumber"); }
    QString DispRedirectedFromName() const { return Text("DispRedirectedFromName"); }
    QString DispChargingDetails() const { return Text("DispChargingDetails"); }
    int DispNuberOfConferenceParticipants() const { return Integer("DispNuberOfConferenceParticipants"); }
    int DispDiscReason() const { return Integer("DispDiscReason"); }
    TDateTime DispConnectionStartTime() const { return DateTime("DispConnectionStartTime"); }
    TDateTime DispConnectionFinishedTime() const { return DateTime("DispConnectionFinishedTime"); }
    QString DispLastCallLcrPrefix() const { return Text("DispLastCallLcrPrefix"); }
    QString DispLastCallExtension() const { return Text("DispLastCallExtension"); }
    QString DispLastCallChargingDetails() const { return Text("DispLastCallChargingDetails"); }
    QString DispLastCallPeersPbxUserName() const { return Text("DispLastCallPeersPbxUserName"); }
    QString DispLastCallPeersNumber() const { return Text("DispLastCallPeersNumber"); }
    TDateTime DispLastCallStartTime() const { return DateTime("DispLastCallStartTime"); }
    TDateTime DispLastCallFinishedTime() const { return DateTime("DispLastCallFinishedTime"); }
    QString DispGetOutgoingExtension() const { return Text("DispGetOutgoingExtension"); }
    int DispIsOutgoingCall() const { return Integer("DispIsOutgoingCall"); }
    int DispLastCallIsOutgoingCall() const { return Integer("DispLastCallIsOutgoingCall"); }
    int DispLastCallDiscReason() const { return Integer("DispLastCallDiscReason"); }
    int DispLastCallWasConnected() const { return Integer("DispLastCallWasConnected"); }
    int DispLastCallId() const { return Integer("DispLastCallId"); }
    QString DispReceivedDtmfDigits() const { return Text("DispReceivedDtmfDigits"); }
    QString DispPeerNumberPublicFormat() const { return Text("DispPeerNumberPublicFormat"); }
    QString DispLastCallCalledExtension() const { return Text("DispLastCallCalledExtension"); }
    QString DispLastCallCalledName() const { return Text("DispLastCallCalledName"); }

    TClientLineDetails PubGetDetails() const;

    void DispHookOff();
    void DispHookOn();
    void DispDial(const QString& digits);

private:
    QString Text(const char* name) const;
    int Integer(const char* name) const;
    TDateTime DateTime(const char* name) const;

    LineManagerService& m_service;
    int m_lineIndex;
    QVariantMap m_properties;
};
