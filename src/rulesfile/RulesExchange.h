// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class TActionSequence;
class TParameters;
class TRule;

/**
 * @brief Passing rules between users as files of the rules-file format.
 *
 * An exchange file holds the chosen rules and every sequence they need: the
 * sequences they run and those that the notification buttons of these offer,
 * transitively. Reading one gives a model of its own, checked as a whole before
 * anything is taken from it. Importing moves its rules into another model, with
 * copies of the sequences they need: everything gets fresh IDs (an ID names one
 * object only), the buttons are pointed at the copies, and names that are taken
 * already get " (Kopie)".
 *
 * Failures are EKestrunError with a German message that names the file; they
 * leave every model and file as it was.
 */
namespace RulesExchange {

// The sequences the rules need, in the model's order.
QList<TActionSequence*> SequencesNeededBy(const TParameters& model, const QList<TRule*>& rules);

/**
 * Keeps only the rules of the model with one of these names (exactly as written),
 * in their order; every rule when there are no names. Throws, and changes nothing,
 * when a name is no rule's: the message names each such name, and the file the
 * model was read from unless fileName is empty (the rules in force).
 */
void KeepRulesNamed(TParameters& model, const QStringList& names, const QString& fileName = {});

/**
 * Writes every rule of the model, with the sequences they need, to the file,
 * which is replaced only by a complete new one. The model stays as it is.
 * Throws when the model holds no rule or the file cannot be written.
 */
void WriteExchangeFile(const TParameters& model, const QString& fileName);

/**
 * Reads an exchange file (or any rules file) into a model of its own. Throws when
 * the file is missing or no plain file, cannot be read, is too large, is no XML or
 * is broken, is not a rules file, or holds no rule.
 */
std::unique_ptr<TParameters> ReadExchangeFile(const QString& fileName);

/**
 * Appends every rule of source to the end of target, and copies of the sequences
 * they need to the end of target's sequences, under names that target has not
 * taken (" (Kopie)" as often as needed) and with fresh IDs throughout. Links and
 * buttons point at the copies; a button whose sequence was not in source is
 * dropped. The rules leave source for target, which owns them from then on; source
 * is used up. Returns the imported rules, in order.
 */
QList<TRule*> ImportRules(TParameters& target, std::unique_ptr<TParameters> source);

/**
 * The whole export of the rules of the model with these names (every rule without
 * names), as the command line asks for it. Returns the names of the rules exported.
 */
QStringList ExportRulesToFile(const TParameters& model, const QString& fileName, const QStringList& names);

/**
 * The whole import of the rules with these names (every rule without names) from
 * the file into target. Nothing changes when it throws. Returns the names the rules
 * were imported under.
 */
QStringList ImportRulesFromFile(TParameters& target, const QString& fileName, const QStringList& names);

// Largest exchange file read: a rules file of thousands of rules is a few megabytes.
constexpr qint64 MaxFileSize = qint64(64) * 1024 * 1024;

// The rule names for a message: each in quotes, separated by commas.
QString Quoted(const QStringList& names);

} // namespace RulesExchange
