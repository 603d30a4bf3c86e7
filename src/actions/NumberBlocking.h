// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * @brief What the action "Anrufer sperren" asks of the program: to block a
 * caller's number in the rules in force.
 *
 * The rule list belongs to the program, above the actions: it changes the list
 * in a copy that it puts in force and saves, as it does every change while rules
 * may be running. The program registers itself once calls reach the rules;
 * without it (a test, a program without rules) nothing can be blocked.
 */
class TNumberBlocking
{
public:
    virtual ~TNumberBlocking() = default;

    // Adds the number to the blocked numbers of the rules in force and saves them.
    // False when it was blocked already. Throws EKestrunError when it cannot be
    // blocked (there are no rules, or the number would match others as a pattern).
    virtual bool BlockNumber(const QString& number) = 0;
};

// The registered blocking, or null when there is none.
TNumberBlocking* NumberBlocking();
// Registers blocking (not owned: it outlives its registration); null removes it.
void SetNumberBlocking(TNumberBlocking* blocking);
