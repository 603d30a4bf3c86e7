// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Event codes of the line manager's notifications.
enum TLineMgrEvent : int
{
    CLMgrLineStateChangedMessage = 0,
    CLMgrLineSelectionChangedMessage = 1,
    CLMgrLineDetailsChangedMessage = 2,
    CLMgrGroupCallNotificationMessage = 8,
    CLMgrLineStateChangedMessageEx = 28
};

// State codes of a line (DispState, and bits 8..15 of a state notification).
enum TLineState : int
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

// "LSRinging" for 3 ...; empty for a code without a name.
QString LineStateName(int stateCode);
// "CLMgrLineStateChangedMessageEx" for 28 ...; empty for other codes.
QString LineMgrEventName(int eventMsg);

inline int EventLineIndex(int eventParam)
{
    return eventParam & 0xFF;
}

inline int EventStateCode(int eventParam)
{
    return (eventParam >> 8) & 0xFF;
}

// The text that the controller, a snapshot and a notification window trace for
// a notification: prefix + "EventMsg: " + name + " EventParam: " ... (the line
// and state parts only for the codes that carry them).
QString DescribeLineMgrEvent(const QString& prefix, int eventMsg, int eventParam);
