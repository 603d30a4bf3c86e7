// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * @brief What a "tel:" or "sip:" link, or a number given with --dial, asks to dial.
 *
 * The text comes from anywhere on the desktop (a web page, a mail, a chat), so it
 * is taken apart strictly: a "tel:" link loses its parameters (";ext=", ";phone-
 * context=" ...), a "sip:" or "sips:" link everything but its user part, %-escapes
 * are decoded once, and the visual separators of a written number (blanks, "-",
 * ".", "/", brackets) are dropped. What remains must be a dial string: digits,
 * "*" and "#", optionally after one leading "+", at most 32 characters. Anything
 * else (letters, control characters, a second "+", an empty number, a link of
 * another scheme) is refused with a German message that says why.
 */
struct TDialTarget
{
    QString number; // the dial string; empty when refused
    QString error; // why the text was refused; empty when accepted

    bool IsValid() const { return !number.isEmpty(); }

    static TDialTarget Parse(const QString& text);
};
