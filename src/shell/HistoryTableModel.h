// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "history/CallRecord.h"
#include "history/HistoryFilter.h"

#include <QAbstractTableModel>

#include <vector>

/**
 * @brief The calls of the history window as a table: "Beginn", "Richtung",
 * "Nummer", "Name", "Firma", "Dauer", "Status".
 *
 * Sorting is the database's: a click on a caption asks for the calls again in
 * that order (SortRequested) instead of sorting the page that is shown.
 * Missed calls not yet seen are bold, missed calls red.
 */
class THistoryTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum TColumn
    {
        ColumnStarted,
        ColumnDirection,
        ColumnNumber,
        ColumnName,
        ColumnCompany,
        ColumnDuration,
        ColumnStatus,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void SetCalls(std::vector<TCallRecord> calls);
    const std::vector<TCallRecord>& Calls() const { return m_calls; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order) override;

    // The database's order for a column of the table.
    static THistoryFilter::TColumn SortColumn(int column);

signals:
    void SortRequested(THistoryFilter::TColumn column, bool ascending);

private:
    std::vector<TCallRecord> m_calls;
};
