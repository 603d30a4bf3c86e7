// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The text with every control character written as "\xHH" (and "\" as "\\"), so that a value from a
// SIP peer printed to the terminal can neither start a line of its own nor send an escape sequence.
QString printable(const QString& text);
