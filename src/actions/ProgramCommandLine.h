// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ActionContext.h"

#include <QList>
#include <QString>
#include <QStringList>

/**
 * @brief The arguments a program action hands its program, built from the
 * action's parameter results.
 *
 * The results are joined with nothing in between, and trailing blanks and control
 * characters are dropped. Only a fixed text of the configuration is split into
 * arguments (at blanks, with double quotes grouping); every other result (call
 * data, variables, lookups, answers) is a value that goes into the argument it
 * stands in as it is, so its quotes, blanks or line breaks can never add an
 * argument. "-n " followed by a number gives two arguments, a name of two words
 * stays one.
 */
class TProgramArguments
{
public:
    explicit TProgramArguments(const QList<TParamResult>& results);

    // The results joined: what the trace shows.
    const QString& Text() const { return m_text; }
    const QStringList& List() const { return m_list; }

private:
    QString m_text;
    QStringList m_list;
};

/**
 * @brief What a program action starts: the program itself, or the interpreter of
 * a script with the script path as an argument of its own.
 */
struct TProgramCommandLine
{
    QString Program;
    QStringList Arguments;
    // The program in double quotes, a blank, the arguments: how the trace shows it.
    QString Text;
    // True when Program is the interpreter that a script's ending asks for.
    bool RunsScript = false;
};

// The command line for the (already expanded) path. Script endings are compared
// case-sensitively, as the rules files taken over from Windows expect: "x.VBS"
// is started as a program.
TProgramCommandLine BuildProgramCommandLine(const QString& path, const TProgramArguments& arguments);
