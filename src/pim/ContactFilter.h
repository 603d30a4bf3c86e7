// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * @brief The restriction a lookup puts on a contact collection: `[Field] = "value"`.
 *
 * The value is everything between the first double quote after "= " and the
 * last double quote, taken literally: quotes and apostrophes inside it are part
 * of the value and never change what the filter asks.
 */
struct TContactFilter
{
    QString Field;
    QString Value;

    // Throws EKestrunError for a text not of that form.
    static TContactFilter Parse(const QString& filter);
};
