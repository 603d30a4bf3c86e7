// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The options that ask the program about itself rather than start it.
enum class EInformationOption
{
    None,
    Help,
    Version
};

// The first of -h/--help and --version among the arguments (without the
// program's name); None when they hold neither.
EInformationOption FindInformationOption(const QStringList& arguments);

QString HelpText();
QString VersionText();

/**
 * Prints the answer to --help or --version on standard output and returns the
 * exit status; nothing when the command line asks neither. Must run before the
 * instance check: a second start hands its argument to the softphone side, and
 * one asking for help is to be answered, not handed over.
 */
std::optional<int> AnswerInformationOption(int argc, char** argv);
