// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

/**
 * @brief The command line's rules exchange while no instance of the program runs:
 * straight on the rules file.
 *
 * The caller holds the instance lock meanwhile, so that no instance starts, loads
 * the file half written or writes its own rules over the import. Both throw
 * EKestrunError with the reason, in German, and leave the rules file as it was.
 */
namespace RulesFileExchange {

// Writes the rules of the rules file with these names (all without names) to the
// file; returns their names.
QStringList Export(const QString& fileName, const QStringList& names);

// Appends the rules of the file with these names (all without names) to the rules
// file, which is made when there is none yet; returns the names they got.
QStringList Import(const QString& fileName, const QStringList& names);

} // namespace RulesFileExchange
