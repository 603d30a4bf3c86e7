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

// Whether the arguments (without the program's name) hold --show: bring the rule
// list forward, of the instance that runs or of this one.
bool AsksToShowRules(const QStringList& arguments);
// The same for the program's own command line.
bool AsksToShowRules(int argc, char** argv);

/**
 * What the command line asks to dial: the value of "--dial NUMBER" (or
 * "--dial=NUMBER"), else a first argument that is a "tel:", "sip:", "sips:" or
 * "callto:" link, as the desktop passes a clicked link (after --show from the
 * menu entry). Nothing otherwise. An
 * empty text when --dial has no value, so that the caller refuses it.
 */
std::optional<QString> FindDialRequest(const QStringList& arguments);

// What --export FILE [RULE-NAME...] or --import FILE [RULE-NAME...] asks for.
struct TExchangeRequest
{
    enum class EKind
    {
        Export,
        Import
    };
    EKind Kind = EKind::Export;
    // As given; empty when the option has no file.
    QString FileName;
    // Every argument after the file; none means every rule.
    QStringList RuleNames;
};

// The first --export or --import among the arguments (without the program's name)
// and everything after it; nothing when there is neither.
std::optional<TExchangeRequest> FindExchangeRequest(const QStringList& arguments);

QString HelpText();
QString VersionText();

/**
 * Prints the answer to --help or --version on standard output and returns the
 * exit status; nothing when the command line asks neither. Must run before the
 * instance check: a second start hands its argument to the softphone side, and
 * one asking for help is to be answered, not handed over.
 */
std::optional<int> AnswerInformationOption(int argc, char** argv);
