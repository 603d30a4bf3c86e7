// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * @brief The small set of rules a new user starts from, compiled into the
 * program: a notification with the caller's name, number and company on every
 * external incoming call, whose button takes the call, and (switched off) a
 * journal entry to complete after an external call.
 *
 * Seeded only where no rules file exists, after the global template had its
 * chance: an administrator's rules always win.
 */
namespace StarterRules {

// The folder below the data folder that holds the seeded templates; the global
// template's clean-up touches only files directly in the data folder.
QString TemplateFolder(const QString& dataFolder);

// Writes the starter rules to rulesFile and their templates below dataFolder.
// Throws EKestrunError when a file cannot be written; no half-written rules
// file is left behind.
void Seed(const QString& rulesFile, const QString& dataFolder);

} // namespace StarterRules
