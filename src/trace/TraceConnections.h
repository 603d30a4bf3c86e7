// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <chrono>

/**
 * @brief One protocol of a trace connections text with its options.
 *
 * Protocol and option names are kept in lower case, values as written (a quoted
 * value without its quotes). The parser has already checked every value, so the
 * typed readers below cannot fail on a connection it returned.
 */
struct TraceConnection
{
    QString protocol;
    QMap<QString, QString> options;
};

/**
 * Reads a connections text such as
 *   file(filename="/tmp/x.sil", maxsize=20480, append=true), pipe(reconnect=true, reconnect.interval=10)
 *
 * Protocols and their options:
 *   file: filename (required), maxsize (KiB, or with a KB/MB/GB suffix), append (Boolean)
 *   pipe: pipename, reconnect (Boolean), reconnect.interval (whole seconds)
 * Left out, maxsize means no limit, append and reconnect false, the interval 0 (try with every
 * entry) and the pipe name comes from the application's name.
 * Names are case-insensitive and blanks around tokens do not count. A value is a bare word
 * or a double-quoted string, which may hold commas, parentheses and blanks; inside quotes
 * a doubled quote ("") stands for one quote. An empty text has no connections.
 *
 * Throws ETraceConfiguration saying what is wrong and at which character (counted from 1).
 */
QList<TraceConnection> ParseTraceConnections(const QString& text);

// Typed readers of option values; each throws ETraceConfiguration on a value it cannot read.
bool TraceOptionBool(const QString& value);
qint64 TraceOptionSizeBytes(const QString& value);
std::chrono::milliseconds TraceOptionSeconds(const QString& value);
