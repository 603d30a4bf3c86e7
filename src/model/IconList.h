// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QCache>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QSize>
#include <QString>
#include <QStringView>

/**
 * @brief The program's one list of monochrome SVG icons (Material Design, "filled").
 *
 * A rules file stores an icon as its index in this list, so the order must never
 * change: the icons are sorted by name with NameLess(), which is fixed for good.
 * The list is built at first use from the icons compiled into the program; the
 * SVG text is read from the resource only when asked for.
 *
 * All members are safe to call from any thread. Core code looks icons up by name
 * and index; drawing is done with Render(), which needs no widgets.
 */
class IconList
{
public:
    static const IconList& Instance();

    IconList(const IconList&) = delete;
    IconList& operator=(const IconList&) = delete;

    int Count() const;
    /// -1 when there is no icon of that name.
    int IndexOf(QStringView name) const;
    /// Empty when the index is out of range.
    QString Name(int index) const;
    /// The SVG text; empty when the index is out of range.
    QByteArray Svg(int index) const;
    /**
     * The icon drawn into a transparent image of the given size in a single colour
     * (the icons are monochrome, so their own colour is replaced), centred with its
     * aspect ratio kept. Null when the index is out of range or the size is empty.
     */
    QImage Render(int index, QSize size, const QColor& color) const;

    /**
     * The order of the list. Names are compared from the left: '_' sorts before
     * digits, digits before letters, letters before any other character. A run of
     * digits is compared as a whole by its numeric value ("9mp" < "10k"); of equal
     * values the run with fewer leading zeros comes first, whatever follows it
     * ("a1z" < "a01b"). Letters compare alphabetically, a capital just before its
     * small letter ("A" < "a" < "B"); other characters by their UTF-16 code. A name
     * that is a prefix of another comes first ("1k" < "1k_plus"). Distinct names
     * never compare equal, so the order is total. Stored icon indexes depend on
     * it: never change it.
     */
    static bool NameLess(QStringView a, QStringView b);

private:
    IconList();

    struct RenderKey
    {
        int index;
        int width;
        int height;
        QRgb rgba;
        friend bool operator==(const RenderKey&, const RenderKey&) = default;
        friend size_t qHash(const RenderKey& key, size_t seed = 0) noexcept
        {
            return qHashMulti(seed, key.index, key.width, key.height, key.rgba);
        }
    };

    QImage Draw(int index, QSize size, const QColor& color) const;

    QList<QString> m_names;
    // Keys view the strings of m_names, which never change after construction,
    // so that IndexOf() needs no temporary QString.
    QHash<QStringView, int> m_indexes;

    mutable QMutex m_cacheMutex;
    mutable QCache<RenderKey, QImage> m_cache;
};
