// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ListBoxDrawItem.h"

#include "model/IconList.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int IconSize = 16;
constexpr int TextIndent = 19;
const QString Ellipsis = QStringLiteral("...");

QPixmap FileIcon(const QString& filePath, const QAbstractFileIconProvider& provider)
{
    if (filePath.isEmpty())
        return {};
    const QFileInfo info(filePath);
    // A path that names nothing (yet) has no icon of its own, only its kind's.
    if (!info.exists())
        return {};
    return provider.icon(info).pixmap(IconSize, IconSize);
}

} // namespace

QString CutListBoxText(const QFontMetrics& metrics, const QString& text, int entryWidth)
{
    const int room = entryWidth - TextIndent;
    if (metrics.horizontalAdvance(text) <= room)
        return text;
    // A longer prefix is never narrower: the longest one that fits is found by halving.
    qsizetype fits = 0;
    qsizetype low = 1;
    qsizetype high = text.size() - 1;
    while (low <= high) {
        const qsizetype middle = (low + high) / 2;
        if (metrics.horizontalAdvance(text.left(middle) + Ellipsis) <= room) {
            fits = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return fits > 0 ? text.left(fits) + Ellipsis : text;
}

void ListBoxDrawItem(QPainter& painter, const QStyleOptionViewItem& option, const QString& text,
                     const QString& filePath, int iconIndex, const QAbstractFileIconProvider& iconProvider)
{
    const QRect& rect = option.rect;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        option.state.testFlag(QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(rect, option.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base));

    QPixmap icon = FileIcon(filePath, iconProvider);
    QPoint iconOrigin = rect.topLeft();
    if (icon.isNull()) {
        icon = QPixmap::fromImage(IconList::Instance().Render(
            iconIndex, QSize(IconSize, IconSize), option.palette.color(QPalette::Disabled, QPalette::Text)));
        iconOrigin += QPoint(0, 1);
    }
    if (!icon.isNull())
        painter.drawPixmap(QRect(iconOrigin, QSize(IconSize, IconSize)), icon);

    painter.setFont(option.font);
    painter.setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect textRect = rect.adjusted(TextIndent, 0, 0, 0);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     CutListBoxText(option.fontMetrics, text, rect.width()));
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        painter.setPen(QPen(option.palette.color(group, QPalette::Text), 1, Qt::DotLine));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

TListBoxItemDelegate::TListBoxItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
    , m_iconProvider(std::make_unique<QFileIconProvider>())
{
}

TListBoxItemDelegate::~TListBoxItemDelegate() = default;

void TListBoxItemDelegate::SetFileIconProvider(std::unique_ptr<QAbstractFileIconProvider> provider)
{
    m_iconProvider = std::move(provider);
}

void TListBoxItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant iconIndex = index.data(ListBoxRole::IconIndex);
    ListBoxDrawItem(*painter, option, index.data(Qt::DisplayRole).toString(),
                    index.data(ListBoxRole::FilePath).toString(), iconIndex.isValid() ? iconIndex.toInt() : -1,
                    *m_iconProvider);
}

QSize TListBoxItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    return {TextIndent + option.fontMetrics.horizontalAdvance(text),
            std::max(ListBoxEntryHeight, option.fontMetrics.height())};
}
