// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class TOrvixLine;

enum class TCallDirection
{
    Incoming = 0,
    Outgoing = 1
};

/**
 * @brief One call as the history keeps it.
 *
 * Made from the line object when its call is over. The display name and the
 * company are those a rule's directory lookup found for the call, if any.
 */
struct TCallRecord
{
    qint64 id = 0; // the database's row, 0 before it is written
    int lineIndex = -1;
    TCallDirection direction = TCallDirection::Incoming;
    int internal = -1; // 1 internal, 0 external, -1 never reported
    QDateTime started; // the call's first state
    QDateTime answered; // invalid when the call was never connected
    QDateTime ended;
    qint64 durationSeconds = 0; // of the connection
    QString number; // as the line manager showed it (its canonical form)
    QString convertedNumber; // as the directory is searched for it
    QString callerName;
    QString displayName;
    QString company;
    bool missed = false;
    bool transferred = false;
    QStringList firedRules;
    bool seen = false; // a missed call the user has looked at in the history

    // The record of a line whose call is over; nothing when the line never had a call.
    static std::optional<TCallRecord> FromLine(const TOrvixLine& line, const QDateTime& endedAt);
    // The number as the directory is searched for it: the canonical form without
    // brackets, slashes, colons, semicolons, commas, points and blanks.
    static QString DirectoryNumber(const QString& canonicalNumber);

    bool operator==(const TCallRecord&) const = default;
};
