// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

#include <optional>
#include <string_view>

// Numbers and Booleans as hand-edited settings files spell them. Blanks around
// the text are ignored; anything else that does not convert gives no value.

/**
 * A 32-bit integer: decimal with an optional sign, or "$" and one to eight
 * hexadecimal digits (any case), where values from $80000000 up wrap to negative
 * numbers ($FFFFFFFF is -1), as 32-bit colour values need.
 */
std::optional<qint32> TextToInteger(QStringView text);
// A number (non-zero is true) or "True" / "False" in any case.
std::optional<bool> TextToBoolean(QStringView text);

/**
 * A decimal 32-bit integer as the program's files write it: an optional sign
 * and one to ten digits, nothing else (no blanks). Longer digit runs are refused
 * even when leading zeros would keep the value in range.
 */
std::optional<qint32> DecimalToInteger(std::string_view text);
