// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/CallRecord.h"

#include "model/DateTime.h"
#include "model/OrvixLine.h"

namespace {

bool HadCall(const TOrvixLine& line)
{
    if (line.CallId() > 0)
        return true;
    static const QStringList callStates {QStringLiteral("LSRinging"),  QStringLiteral("LSDialing"),
                                         QStringLiteral("LSAlerting"), QStringLiteral("LSKnocking"),
                                         QStringLiteral("LSBusy"),     QStringLiteral("LSActive")};
    for (const QString& state : line.LineStateHistory()) {
        if (callStates.contains(state))
            return true;
    }
    return false;
}

} // namespace

std::optional<TCallRecord> TCallRecord::FromLine(const TOrvixLine& line, const QDateTime& endedAt)
{
    if (line.IsNotificationCall() || !HadCall(line))
        return std::nullopt;
    const QStringList& history = line.LineStateHistory();

    TCallRecord record;
    record.lineIndex = line.LineIndex();
    // A call whose direction the softphone never said is outgoing when the user dialled it.
    const bool outgoing =
        line.IsOutgoingCall() == 1 || (line.IsOutgoingCall() == -1 && history.contains(QStringLiteral("LSDialing")));
    record.direction = outgoing ? TCallDirection::Outgoing : TCallDirection::Incoming;
    record.internal = line.IsInternalCall();
    record.ended = endedAt;
    record.started = line.CallSeenAt().isValid() ? line.CallSeenAt() : endedAt;

    const bool connected = history.contains(QStringLiteral("LSActive")) || line.ConnectionStartTime() > 0;
    if (connected) {
        record.answered = line.ConnectionStartTime() > 0 ? ToQDateTime(line.ConnectionStartTime()) : record.started;
        const QDateTime finished =
            line.ConnectionFinishedTime() > 0 ? ToQDateTime(line.ConnectionFinishedTime()) : endedAt;
        record.durationSeconds = std::max<qint64>(0, record.answered.secsTo(finished));
    }
    record.missed = !outgoing && !connected;
    record.transferred = line.IsTransferredCall();

    record.number = outgoing && !line.CalledNumber().isEmpty() ? line.CalledNumber() : line.CallerNumber();
    record.convertedNumber = DirectoryNumber(record.number);
    record.callerName = outgoing && !line.CalledName().isEmpty() ? line.CalledName() : line.CallerName();
    record.firedRules = line.FiredRules();
    return record;
}

QString TCallRecord::DirectoryNumber(const QString& canonicalNumber)
{
    QString result;
    result.reserve(canonicalNumber.size());
    for (QChar c : canonicalNumber) {
        if (!QStringView(u"()/:;,. ").contains(c))
            result.append(c);
    }
    return result;
}
