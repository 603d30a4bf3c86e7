// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

/**
 * @brief One command of orvix-linesim with its options, checked against the command table.
 */
struct ParsedCommand
{
    QString name;
    QHash<QString, QString> options; // "--line" -> "0"; a flag maps to an empty value
    QStringList arguments;

    bool has(const QString& option) const { return options.contains(option); }
    QString value(const QString& option, const QString& fallback = {}) const { return options.value(option, fallback); }
    // Throws UsageError when the value is not a whole number.
    int intValue(const QString& option, int fallback = 0) const;
};

/**
 * @brief The command language shared by the command line and scenario files.
 */
namespace CommandLine {

inline constexpr const char* Program = "orvix-linesim";

// Splits a scenario line like a POSIX shell would: '...' literal, "..." with \" and \\, a backslash escapes outside
// quotes. Throws UsageError for an unterminated quote.
QStringList split(const QString& line);

// words[0] is the command. Throws UsageError naming what is wrong.
ParsedCommand parse(const QStringList& words);

QString helpText();

// Runs a scenario file: each command goes to execute, "sleep MS" lines to sleep. Throws UsageError or LineSimError
// with "FILE:LINE: " in front of the message of the first line that failed.
void playScenario(const QString& path, const std::function<void(const ParsedCommand&)>& execute,
                  const std::function<void(int milliseconds)>& sleep);

} // namespace CommandLine
