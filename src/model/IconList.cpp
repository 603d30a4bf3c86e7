// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/IconList.h"

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>
#include <QtGlobal>

#include <algorithm>

namespace {

// Plain views, so that no static initialisation order matters.
constexpr QStringView kIconFolder = u":/icons/material-filled";
constexpr QStringView kIconSuffix = u".svg";

// About two thousand renderings at list size (24 px, 2 KiB each); big ones for
// notification buttons are few and repeat, so a larger cache buys little.
constexpr int kCacheKilobytes = 4096;

// The order of the classes is part of the stored order: '_' before digits
// before letters, anything else (no icon has it) last.
enum class CharClass
{
    Underscore,
    Digit,
    Letter,
    Other
};

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

CharClass ClassOf(char16_t c)
{
    if (c == u'_')
        return CharClass::Underscore;
    if (IsDigit(c))
        return CharClass::Digit;
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
        return CharClass::Letter;
    return CharClass::Other;
}

// Letters sort alphabetically regardless of case; of the same letter the
// capital comes first, so that distinct names never compare equal.
int LetterRank(char16_t c)
{
    const bool upper = c >= u'A' && c <= u'Z';
    const char16_t lower = upper ? char16_t(c - u'A' + u'a') : c;
    return (lower - u'a') * 2 + (upper ? 0 : 1);
}

// Compares two runs of digits by value without converting them, so any length
// works. Of equal values the run with fewer leading zeros comes first ("1" <
// "01" < "001"), which keeps the order total.
int CompareDigitRuns(QStringView a, QStringView b)
{
    const auto significant = [](QStringView run) {
        qsizetype zeros = 0;
        while (zeros < run.size() && run[zeros] == u'0')
            ++zeros;
        return run.sliced(zeros);
    };
    const QStringView va = significant(a);
    const QStringView vb = significant(b);
    if (va.size() != vb.size())
        return va.size() < vb.size() ? -1 : 1;
    for (qsizetype i = 0; i < va.size(); ++i) {
        if (va[i] != vb[i])
            return va[i].unicode() < vb[i].unicode() ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return 0;
}

qsizetype DigitRunEnd(QStringView s, qsizetype from)
{
    while (from < s.size() && IsDigit(s[from].unicode()))
        ++from;
    return from;
}

} // namespace

const IconList& IconList::Instance()
{
    static const IconList instance;
    return instance;
}

IconList::IconList()
    : m_cache(kCacheKilobytes)
{
    const QStringList files = QDir(kIconFolder.toString()).entryList({QStringLiteral("*.svg")}, QDir::Files);
    if (files.isEmpty())
        qWarning("IconList: no icons found in %s; the icon resource is not linked in",
                 qPrintable(kIconFolder.toString()));

    m_names.reserve(files.size());
    for (const QString& file : files)
        m_names.append(file.chopped(kIconSuffix.size()));
    std::sort(m_names.begin(), m_names.end(), [](const QString& a, const QString& b) { return NameLess(a, b); });

    m_indexes.reserve(m_names.size());
    for (qsizetype i = 0; i < m_names.size(); ++i)
        m_indexes.insert(QStringView(m_names.at(i)), int(i));
}

int IconList::Count() const
{
    return int(m_names.size());
}

int IconList::IndexOf(QStringView name) const
{
    return m_indexes.value(name, -1);
}

QString IconList::Name(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return m_names.at(index);
}

QByteArray IconList::Svg(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    QFile file(kIconFolder % u'/' % m_names.at(index) % kIconSuffix);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QImage IconList::Render(int index, QSize size, const QColor& color) const
{
    if (index < 0 || index >= Count() || size.isEmpty())
        return {};

    const RenderKey key {index, size.width(), size.height(), color.rgba()};
    {
        const QMutexLocker lock(&m_cacheMutex);
        if (const QImage* cached = m_cache.object(key))
            return *cached;
    }

    // Drawn without the lock so that threads rendering different icons do not
    // wait for each other; two threads drawing the same icon at once is harmless.
    // The cache key holds the colour at 8 bits a channel, so draw exactly that.
    QImage image = Draw(index, size, QColor::fromRgba(key.rgba));
    if (image.isNull())
        return image;

    const qsizetype kilobytes = std::max<qsizetype>(1, image.sizeInBytes() / 1024);
    if (kilobytes <= kCacheKilobytes) {
        const QMutexLocker lock(&m_cacheMutex);
        m_cache.insert(key, new QImage(image), kilobytes);
    }
    return image;
}

QImage IconList::Draw(int index, QSize size, const QColor& color) const
{
    QSvgRenderer renderer(Svg(index));
    if (!renderer.isValid())
        return {};
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    // The icons are drawn in black; keeping only their coverage and filling it
    // with the colour recolours the antialiased edges too.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    return image;
}

bool IconList::NameLess(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const char16_t ca = a[i].unicode();
        const char16_t cb = b[j].unicode();
        const CharClass classA = ClassOf(ca);
        const CharClass classB = ClassOf(cb);
        if (classA != classB)
            return classA < classB;

        if (classA == CharClass::Digit) {
            const qsizetype endA = DigitRunEnd(a, i);
            const qsizetype endB = DigitRunEnd(b, j);
            if (const int order = CompareDigitRuns(a.sliced(i, endA - i), b.sliced(j, endB - j)); order != 0)
                return order < 0;
            i = endA;
            j = endB;
            continue;
        }

        if (ca != cb)
            return classA == CharClass::Letter ? LetterRank(ca) < LetterRank(cb) : ca < cb;
        ++i;
        ++j;
    }
    // A name that is a prefix of the other comes first.
    return i == a.size() && j < b.size();
}
