// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/CallValueChoices.h"

#include <QSet>

#include <array>

namespace {

enum TMeantFor : unsigned
{
    Incoming = 1,
    Outgoing = 2,
    Notification = 4,
};

struct TCallValue
{
    const char* name;
    const char* caption;
    unsigned meantFor;
};

constexpr std::array<TCallValue, 21> CallValues {{
    {"orvixCallID", "Call ID", Incoming | Outgoing},
    {"orvixCallerName", "Caller Name", Incoming | Outgoing},
    {"orvixCallerNumber", "Caller Number", Incoming},
    {"orvixCalledExtension", "Called Extension", Incoming},
    {"orvixRedirectedFromName", "Redirected From Name", Incoming},
    {"orvixRedirectedFromNumber", "Redirected From Number", Incoming},
    {"orvixCallingExtension", "Calling Extension", Outgoing},
    {"orvixCalledNumber", "Called Number", Outgoing},
    {"orvixConnectionStartDateTime", "Connection Start DateTime", Incoming | Outgoing},
    {"orvixConnectionFinishedDateTime", "Connection Finished DateTime", Incoming | Outgoing},
    {"orvixConnectionDurationTime", "Connection Duration Time", Incoming | Outgoing},
    {"orvixConnectionStartTime", "Connection Start Time", Incoming | Outgoing},
    {"orvixConnectionFinishedTime", "Connection Finished Time", Incoming | Outgoing},
    {"orvixConnectionStartDate", "Connection Start Date", Incoming | Outgoing},
    {"orvixConnectionFinishedDate", "Connection Finished Date", Incoming | Outgoing},
    {"orvixNotificationCallerName", "Notification Caller Name", Notification},
    {"orvixNotificationCallerNumber", "Notification Caller Number", Notification},
    {"orvixNotificationCalledName", "Notification Called Name", Notification},
    {"orvixNotificationCalledExtension", "Notification Called Extension", Notification},
    {"orvixNotificationCallRedirectedFromName", "Notification Redirected From Name", Notification},
    {"orvixNotificationCallRedirectedFromNumber", "Notification Redirected From Number", Notification},
}};

} // namespace

QList<TCallValueChoice> CallValueChoices()
{
    const std::array<std::pair<TMeantFor, QString>, 3> groups {{
        {Incoming, QStringLiteral("-- Eingehender Ruf --")},
        {Outgoing, QStringLiteral("-- Ausgehender Ruf --")},
        {Notification, QStringLiteral("-- Rufbenachrichtigung --")},
    }};
    QList<TCallValueChoice> choices;
    QSet<QString> listed;
    for (const auto& [group, header] : groups) {
        choices.append({header, header});
        for (const TCallValue& value : CallValues) {
            const QString caption = QString::fromLatin1(value.caption);
            if ((value.meantFor & group) && !listed.contains(caption)) {
                listed.insert(caption);
                choices.append({caption, QString::fromLatin1(value.name)});
            }
        }
    }
    return choices;
}

bool IsCallValueGroupHeader(const QString& value)
{
    // Call value names never hold a hyphen; the headers all do.
    return value.contains(QLatin1Char('-'));
}
