// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractListModel>

/**
 * @brief The program's icon list as a list model: one row per icon, in list
 * order, its name as text and the icon as decoration.
 *
 * A row's index therefore is the icon index that the model objects store. The
 * icons are drawn only when a view asks for them: the list holds thousands.
 */
class TIconListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit TIconListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};
