// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class TParameters;

/**
 * @brief Blocking a caller: the rule "Gesperrte Nummern" with the blocked numbers
 * as its caller patterns, and its sequence "Gesperrte Nummern", which ends the
 * call while it rings.
 *
 * Both are ordinary objects of the model, so the user sees, edits and deletes
 * them in the rule list and the sequence editor like any other. A missing rule
 * is made at the top of the list (it should end the call before other rules
 * greet the caller); a missing sequence is made and linked to it.
 */
namespace BlockedNumbers {

inline const QString RuleName = QStringLiteral("Gesperrte Nummern");

// Adds the number (as rules match it) to the model's rule. False when it is blocked already.
// Throws EKestrunError for a number that would match other numbers as a pattern (IsLiteralPattern):
// an empty one, one holding ";", "*" or "?".
bool Block(TParameters& model, const QString& number);

} // namespace BlockedNumbers
