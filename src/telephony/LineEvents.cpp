// SPDX-License-Identifier: GPL-3.0-or-later

#include "telephony/LineEvents.h"

#include <array>

QString LineStateName(int stateCode)
{
    static const std::array<QString, 14> names {
        QStringLiteral("LSInactive"),         QStringLiteral("LSHookOffInternal"),
        QStringLiteral("LSHookOffExternal"),  QStringLiteral("LSRinging"),
        QStringLiteral("LSDialing"),          QStringLiteral("LSAlerting"),
        QStringLiteral("LSKnocking"),         QStringLiteral("LSBusy"),
        QStringLiteral("LSActive"),           QStringLiteral("LSOnHold"),
        QStringLiteral("LSConferenceActive"), QStringLiteral("LSConferenceOnHold"),
        QStringLiteral("LSTerminated"),       QStringLiteral("LSDirectCall")};
    return stateCode >= 0 && stateCode < int(names.size()) ? names[stateCode] : QString();
}

QString LineMgrEventName(int eventMsg)
{
    switch (eventMsg) {
    case CLMgrLineStateChangedMessage:
        return QStringLiteral("CLMgrLineStateChangedMessage");
    case CLMgrLineSelectionChangedMessage:
        return QStringLiteral("CLMgrLineSelectionChangedMessage");
    case CLMgrLineDetailsChangedMessage:
        return QStringLiteral("CLMgrLineDetailsChangedMessage");
    case CLMgrGroupCallNotificationMessage:
        return QStringLiteral("CLMgrGroupCallNotificationMessage");
    case CLMgrLineStateChangedMessageEx:
        return QStringLiteral("CLMgrLineStateChangedMessageEx");
    default:
        return {};
    }
}

QString DescribeLineMgrEvent(const QString& prefix, int eventMsg, int eventParam)
{
    QString text = prefix + QStringLiteral("EventMsg: ") + LineMgrEventName(eventMsg) +
        QStringLiteral(" EventParam: ") + QString::number(eventParam);
    if (eventMsg == CLMgrLineStateChangedMessageEx || eventMsg == CLMgrLineDetailsChangedMessage)
        text += QStringLiteral(" LineIndex: ") + QString::number(EventLineIndex(eventParam));
    if (eventMsg == CLMgrLineStateChangedMessageEx)
        text += QStringLiteral(" LineState: ") + LineStateName(EventStateCode(eventParam));
    return text;
}
