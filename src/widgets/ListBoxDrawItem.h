// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStyledItemDelegate>

#include <memory>

class QAbstractFileIconProvider;
class QFontMetrics;

// Item data roles of the entries that ListBoxDrawItem draws; Qt::DisplayRole holds the text.
namespace ListBoxRole {
// A file whose own small icon stands for the entry (a program, a document); may be empty.
constexpr int FilePath = Qt::UserRole + 40;
// The entry's icon in the program's icon list, drawn when the file gives none.
constexpr int IconIndex = Qt::UserRole + 41;
} // namespace ListBoxRole

// The height of an entry, whatever the font (it grows only for a font taller than that).
constexpr int ListBoxEntryHeight = 16;

/**
 * The text of an entry for the width given: the whole text when it fits with
 * the icon's room of 19 pixels, else its longest prefix that fits with "..."
 * appended, and the whole text (to be clipped) when not even one character does.
 */
QString CutListBoxText(const QFontMetrics& metrics, const QString& text, int entryWidth);

/**
 * Draws one list entry: a 16 x 16 icon at the left, the file's own icon when
 * filePath names a file for which the provider has one, else icon iconIndex of
 * the program's icon list in the grey of disabled text; then the text, 19 pixels
 * from the left, vertically centred and cut to the width (CutListBoxText).
 */
void ListBoxDrawItem(QPainter& painter, const QStyleOptionViewItem& option, const QString& text,
                     const QString& filePath, int iconIndex, const QAbstractFileIconProvider& iconProvider);

/**
 * @brief Delegate that draws the entries of a list view with ListBoxDrawItem,
 * taking file path and icon index from the ListBoxRole roles.
 */
class TListBoxItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit TListBoxItemDelegate(QObject* parent = nullptr);
    ~TListBoxItemDelegate() override;

    // The platform's file icons by default; tests put in their own.
    void SetFileIconProvider(std::unique_ptr<QAbstractFileIconProvider> provider);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::unique_ptr<QAbstractFileIconProvider> m_iconProvider;
};
