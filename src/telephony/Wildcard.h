// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

// Whether the whole text matches the pattern: "*" stands for any run of
// characters (the empty run too), "?" for exactly one, every other character
// for itself (case-sensitive). There is no escape character.
bool Like(QStringView text, QStringView pattern);

// Whether any pattern of a ";"-separated list matches the number. An empty list
// holds one empty pattern, which matches only an empty number.
bool CheckSemicolon(const QString& numberList, const QString& number);

// Whether the number, taken as one entry of such a list, matches that number and
// no other: not empty, no ";" that would split it into entries, no "*" or "?"
// that would match other numbers too, and nothing unprintable that the user
// could not see in the rule, and no longer than a SIP address can sensibly be
// (a peer may send any length). What a caller sent goes into a list only then.
bool IsLiteralPattern(QStringView number);
