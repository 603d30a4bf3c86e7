// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QString>

/**
 * @brief Which calls of the history to show, in which order, and which page of them.
 */
struct THistoryFilter
{
    enum class TColumn
    {
        Started,
        Direction,
        Number,
        Name,
        Company,
        Duration
    };

    QString text; // found in the name, the display name, the number or the company
    bool missedOnly = false;
    QDate from; // inclusive; invalid: no lower bound
    QDate to; // inclusive; invalid: no upper bound
    TColumn sortColumn = TColumn::Started;
    bool ascending = false;
    int limit = 500;
    int offset = 0;

    bool operator==(const THistoryFilter&) const = default;
};
