// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/HistoryTableModel.h"

#include <QBrush>
#include <QFont>

namespace {

QString Duration(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString Status(const TCallRecord& call)
{
    QString status = call.missed  ? QStringLiteral("verpasst")
        : call.answered.isValid() ? QStringLiteral("angenommen")
                                  : QStringLiteral("nicht erreicht");
    if (call.transferred)
        status += QStringLiteral(", weitergeleitet");
    return status;
}

QString DisplayText(const TCallRecord& call, int column)
{
    switch (column) {
    case THistoryTableModel::ColumnStarted:
        return call.started.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    case THistoryTableModel::ColumnDirection:
        return call.direction == TCallDirection::Outgoing ? QStringLiteral("ausgehend") : QStringLiteral("eingehend");
    case THistoryTableModel::ColumnNumber:
        return call.number;
    case THistoryTableModel::ColumnName:
        return call.displayName.isEmpty() ? call.callerName : call.displayName;
    case THistoryTableModel::ColumnCompany:
        return call.company;
    case THistoryTableModel::ColumnDuration:
        return call.answered.isValid() ? Duration(call.durationSeconds) : QString();
    case THistoryTableModel::ColumnStatus:
        return Status(call);
    default:
        return {};
    }
}

} // namespace

void THistoryTableModel::SetCalls(std::vector<TCallRecord> calls)
{
    beginResetModel();
    m_calls = std::move(calls);
    endResetModel();
}

int THistoryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_calls.size());
}

int THistoryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant THistoryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TCallRecord& call = m_calls[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText(call, index.column());
    case Qt::ToolTipRole:
        if (call.firedRules.isEmpty())
            return QStringLiteral("Keine Regel hat ausgelöst.");
        return QString(QStringLiteral("Ausgelöste Regeln: ") + call.firedRules.join(QStringLiteral(", ")));
    case Qt::ForegroundRole:
        return call.missed ? QVariant(QBrush(QColor(0xc6, 0x28, 0x28))) : QVariant();
    case Qt::FontRole:
        if (call.missed && !call.seen) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant THistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const captions[ColumnCount] = {"Beginn", "Richtung", "Nummer", "Name",
                                                      "Firma",  "Dauer",    "Status"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(captions[section]) : QVariant();
}

void THistoryTableModel::sort(int column, Qt::SortOrder order)
{
    emit SortRequested(SortColumn(column), order == Qt::AscendingOrder);
}

THistoryFilter::TColumn THistoryTableModel::SortColumn(int column)
{
    switch (column) {
    case ColumnDirection:
        return THistoryFilter::TColumn::Direction;
    case ColumnNumber:
        return THistoryFilter::TColumn::Number;
    case ColumnName:
        return THistoryFilter::TColumn::Name;
    case ColumnCompany:
        return THistoryFilter::TColumn::Company;
    case ColumnDuration:
        return THistoryFilter::TColumn::Duration;
    default:
        return THistoryFilter::TColumn::Started;
    }
}
