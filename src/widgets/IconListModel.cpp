// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/IconListModel.h"

#include "model/IconList.h"

#include <QApplication>
#include <QIcon>
#include <QPalette>
#include <QPixmap>

namespace {

constexpr int IconSize = 16;

} // namespace

TIconListModel::TIconListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

int TIconListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : IconList::Instance().Count();
}

QVariant TIconListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const IconList& icons = IconList::Instance();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return icons.Name(index.row());
    case Qt::DecorationRole:
        return QIcon(QPixmap::fromImage(
            icons.Render(index.row(), QSize(IconSize, IconSize), QApplication::palette().color(QPalette::Text))));
    default:
        return {};
    }
}
