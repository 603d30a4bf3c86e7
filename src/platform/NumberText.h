#pragma once

#include <QStringView>

#include <optional>

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
