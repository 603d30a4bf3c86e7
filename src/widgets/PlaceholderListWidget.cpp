// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/PlaceholderListWidget.h"

#include <QPainter>

TPlaceholderListWidget::TPlaceholderListWidget(QWidget* parent)
    : QListWidget(parent)
{
    const auto update = [this] { UpdateDescription(); };
    connect(model(), &QAbstractItemModel::rowsInserted, this, update);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, update);
    connect(model(), &QAbstractItemModel::modelReset, this, update);
}

// The list empties its model while it is destroyed, when this part of it is gone.
TPlaceholderListWidget::~TPlaceholderListWidget()
{
    disconnect(model(), nullptr, this, nullptr);
}

void TPlaceholderListWidget::SetPlaceholderText(const QString& text)
{
    m_placeholderText = text;
    UpdateDescription();
    viewport()->update();
}

void TPlaceholderListWidget::paintEvent(QPaintEvent* event)
{
    QListWidget::paintEvent(event);
    if (count() > 0 || m_placeholderText.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, m_placeholderText);
}

void TPlaceholderListWidget::UpdateDescription()
{
    // A screen reader cannot see the drawn text; the description says it instead.
    setAccessibleDescription(count() == 0 ? m_placeholderText : QString());
}
