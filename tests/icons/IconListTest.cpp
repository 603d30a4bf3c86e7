// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/IconList.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ios>
#include <random>
#include <thread>
#include <vector>

namespace {

QStringList AllNames()
{
    const IconList& icons = IconList::Instance();
    QStringList names;
    for (int i = 0; i < icons.Count(); ++i)
        names.append(icons.Name(i));
    return names;
}

struct Ordered
{
    const char16_t* lower;
    const char16_t* higher;
};

// Each pair must compare "lower < higher" one way and not the other.
constexpr Ordered kOrderedPairs[] = {
    {u"9mp", u"10k"},
    {u"1k", u"1k_plus"},
    {u"1k_plus", u"1x_mobiledata"},
    {u"1k", u"1x_mobiledata"},
    {u"a_b", u"a0"}, // '_' before digits
    {u"a9", u"aa"}, // digits before letters
    {u"a_", u"aa"},
    {u"", u"_"},
    {u"zoom_out", u"zoom_out_map"}, // a prefix first
    {u"x2y", u"x10"}, // the whole run decides, not its first digit
    {u"a9b", u"a10a"},
    {u"a1b2", u"a1b10"},
    {u"1", u"01"}, // equal value: fewer leading zeros first
    {u"01", u"001"},
    {u"001", u"2"},
    {u"0", u"00"},
    {u"00", u"1"},
    {u"a1z", u"a01b"}, // the zeros decide at the run, before what follows it
    {u"99999999999999999999", u"100000000000000000000"}, // beyond 64 bits
    {u"00000000000000000000000000001", u"2"},
    {u"A", u"a"}, // a capital just before its small letter
    {u"a", u"B"},
    {u"Zoom", u"zoom"},
    {u"z", u"-"}, // anything else after letters
    {u"-", u"\u00e9"},
};

TEST(IconListOrder, OrdersPairsOfTheTable)
{
    for (const Ordered& pair : kOrderedPairs) {
        const QStringView lower(pair.lower);
        const QStringView higher(pair.higher);
        EXPECT_TRUE(IconList::NameLess(lower, higher))
            << lower.toString().toStdString() << " < " << higher.toString().toStdString();
        EXPECT_FALSE(IconList::NameLess(higher, lower))
            << higher.toString().toStdString() << " < " << lower.toString().toStdString();
        EXPECT_FALSE(IconList::NameLess(lower, lower)) << lower.toString().toStdString();
    }
}

// Every pair of the real list, both ways: positions and order must agree, which
// only holds if the order is transitive and no two names tie.
TEST(IconListOrder, IsStrictAndTotalOnTheWholeSet)
{
    const QStringList names = AllNames();
    ASSERT_GT(names.size(), 1);
    for (qsizetype i = 0; i < names.size(); ++i) {
        ASSERT_FALSE(IconList::NameLess(names[i], names[i])) << names[i].toStdString();
        for (qsizetype j = i + 1; j < names.size(); ++j) {
            ASSERT_TRUE(IconList::NameLess(names[i], names[j]))
                << names[i].toStdString() << " < " << names[j].toStdString();
            ASSERT_FALSE(IconList::NameLess(names[j], names[i]))
                << names[j].toStdString() << " < " << names[i].toStdString();
        }
    }

    QStringList shuffled = names;
    std::mt19937 random(20240611);
    for (int round = 0; round < 3; ++round) {
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        std::sort(shuffled.begin(), shuffled.end(),
                  [](const QString& a, const QString& b) { return IconList::NameLess(a, b); });
        EXPECT_EQ(shuffled, names);
    }
}

TEST(IconList, HoldsTheVendoredSetInItsFixedOrder)
{
    const IconList& icons = IconList::Instance();
    ASSERT_EQ(icons.Count(), 2122);
    EXPECT_EQ(icons.Name(0).toStdString(), "1k");
    EXPECT_EQ(icons.Name(1).toStdString(), "1k_plus");
    EXPECT_EQ(icons.Name(2).toStdString(), "1x_mobiledata");
    EXPECT_EQ(icons.Name(icons.Count() - 2).toStdString(), "zoom_out");
    EXPECT_EQ(icons.Name(icons.Count() - 1).toStdString(), "zoom_out_map");

    // Indexes are stored in users' rules files: the whole sequence must stay as it
    // is. The fingerprint was taken from an independent sort of the vendored names.
    const QByteArray joined = AllNames().join(u'\n').toUtf8();
    EXPECT_EQ(QCryptographicHash::hash(joined, QCryptographicHash::Sha256).toHex(),
              "995d17df16e2662fe378548fdf3bc373e611b70965a692905b8fdd622008ce56");
    EXPECT_EQ(icons.IndexOf(u"call"), 329);
}

TEST(IconList, HasEveryIconTheProgramUses)
{
    static const char16_t* const kUsed[] = {
        u"terminal",
        u"description",
        u"settings_ethernet",
        u"send",
        u"message",
        u"reviews",
        u"mail",
        u"work_history",
        u"calendar_month",
        u"note_alt",
        u"task",
        u"contact_mail",
        u"do_not_disturb_on",
        u"add_ic_call",
        u"call_end",
        u"dialpad",
        u"call",
        u"manage_search",
        u"keyboard",
        u"person",
        u"computer",
        u"import_contacts",
        u"alternate_email",
        u"camera_alt",
    };
    const IconList& icons = IconList::Instance();
    for (const char16_t* name : kUsed) {
        const int index = icons.IndexOf(name);
        ASSERT_GE(index, 0) << QString::fromUtf16(name).toStdString();
        EXPECT_EQ(icons.Name(index), QString::fromUtf16(name));
        EXPECT_TRUE(icons.Svg(index).startsWith("<svg")) << QString::fromUtf16(name).toStdString();
    }
}

TEST(IconList, MapsNamesAndIndexesBothWays)
{
    const IconList& icons = IconList::Instance();
    for (int i = 0; i < icons.Count(); ++i)
        ASSERT_EQ(icons.IndexOf(icons.Name(i)), i) << icons.Name(i).toStdString();

    for (const QString& unknown : {QString(), QStringLiteral("no_such_icon"), QStringLiteral("call.svg"),
                                   QStringLiteral("Call"), QStringLiteral("call ")})
        EXPECT_EQ(icons.IndexOf(unknown), -1) << unknown.toStdString();
    for (const int index : {-1, icons.Count(), icons.Count() + 1000}) {
        EXPECT_TRUE(icons.Name(index).isEmpty()) << index;
        EXPECT_TRUE(icons.Svg(index).isEmpty()) << index;
        EXPECT_TRUE(icons.Render(index, QSize(24, 24), Qt::black).isNull()) << index;
    }
}

TEST(IconList, GivesTheVendoredSvgOfAName)
{
    QFile file(QDir::cleanPath(QStringLiteral(KESTRUN_TEST_DATA "/../../resources/icons/material-filled/call.svg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const IconList& icons = IconList::Instance();
    EXPECT_EQ(icons.Svg(icons.IndexOf(u"call")), file.readAll());
}

struct RenderCase
{
    const char16_t* name;
    QSize size;
    QRgb color;
};

// Every opaque pixel has the colour, and the antialiased edge is the colour at
// partial coverage (premultiplied), not a blend with the icon's own black.
void ExpectRenderedIn(const QImage& image, const RenderCase& c)
{
    const QString label = QString::fromUtf16(c.name) % u' ' % QString::number(c.size.width()) % u'x' %
        QString::number(c.size.height()) % u" #" % QString::number(c.color, 16);
    ASSERT_FALSE(image.isNull()) << label.toStdString();
    ASSERT_EQ(image.size(), c.size) << label.toStdString();
    ASSERT_TRUE(image.hasAlphaChannel());

    ASSERT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);

    int opaque = 0;
    int transparent = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            if (alpha == 0) {
                ++transparent;
                ASSERT_EQ(pixel, 0u) << label.toStdString() << " at " << x << "," << y;
                continue;
            }
            if (alpha == 255)
                ++opaque;
            const auto near = [alpha](int channel, int full) { return std::abs(channel - full * alpha / 255) <= 1; };
            ASSERT_TRUE(near(qRed(pixel), qRed(c.color)) && near(qGreen(pixel), qGreen(c.color)) &&
                        near(qBlue(pixel), qBlue(c.color)))
                << label.toStdString() << " at " << x << "," << y << ": #" << std::hex << pixel;
            if (alpha == 255) {
                ASSERT_EQ(pixel, c.color) << label.toStdString() << " at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(opaque, 0) << label.toStdString();
    EXPECT_GT(transparent, 0) << label.toStdString();
}

TEST(IconList, RendersInOneColourAtTheAskedSize)
{
    // The same icon and size in two colours: a cache that forgot the colour fails.
    const RenderCase cases[] = {
        {u"call", QSize(24, 24), qRgb(255, 255, 255)},
        {u"call", QSize(24, 24), qRgb(0, 0, 0)},
        {u"call", QSize(24, 24), qRgb(255, 255, 255)},
        {u"settings_ethernet", QSize(32, 32), qRgb(0x80, 0x80, 0x80)},
        {u"person", QSize(16, 16), qRgb(0x12, 0x9a, 0xf0)},
        {u"dialpad", QSize(64, 64), qRgb(200, 30, 40)},
    };
    const IconList& icons = IconList::Instance();
    for (const RenderCase& c : cases)
        ExpectRenderedIn(icons.Render(icons.IndexOf(c.name), c.size, QColor(c.color)), c);

    EXPECT_TRUE(icons.Render(icons.IndexOf(u"call"), QSize(0, 24), Qt::black).isNull());
}

TEST(IconList, KeepsTheAspectRatioCentred)
{
    // "stop" fills most of its square view box, so its drawing shows where the box went.
    const IconList& icons = IconList::Instance();
    for (const QSize size : {QSize(96, 32), QSize(32, 96)}) {
        const QImage image = icons.Render(icons.IndexOf(u"stop"), size, Qt::black);
        ASSERT_EQ(image.size(), size);
        const int side = std::min(size.width(), size.height());
        const QRect box((size.width() - side) / 2, (size.height() - side) / 2, side, side);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (!box.contains(x, y)) {
                    ASSERT_EQ(qAlpha(image.pixel(x, y)), 0)
                        << size.width() << "x" << size.height() << " at " << x << "," << y;
                }
            }
        }
        EXPECT_EQ(qAlpha(image.pixel(box.center())), 255);
    }
}

// A broken or unsupported file would show as an empty button.
TEST(IconList, DrawsEveryIcon)
{
    const IconList& icons = IconList::Instance();
    for (int i = 0; i < icons.Count(); ++i) {
        const QImage image = icons.Render(i, QSize(24, 24), Qt::black);
        ASSERT_FALSE(image.isNull()) << icons.Name(i).toStdString();
        bool drawn = false;
        for (int y = 0; y < image.height() && !drawn; ++y) {
            for (int x = 0; x < image.width() && !drawn; ++x)
                drawn = qAlpha(image.pixel(x, y)) != 0;
        }
        EXPECT_TRUE(drawn) << icons.Name(i).toStdString();
    }
}

TEST(IconList, RendersFromSeveralThreadsAlike)
{
    const IconList& icons = IconList::Instance();
    const int count = 64;
    std::vector<QImage> expected;
    for (int i = 0; i < count; ++i)
        expected.push_back(icons.Render(i, QSize(20, 20), Qt::darkGreen));

    std::vector<std::vector<QImage>> results(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < results.size(); ++t) {
        threads.emplace_back([&icons, &result = results[t], t] {
            // Different colours per thread keep the cache inserting and evicting.
            for (int i = 0; i < count; ++i) {
                icons.Render(i, QSize(20 + int(t), 20), QColor::fromRgb(int(t), 0, 0));
                result.push_back(icons.Render(i, QSize(20, 20), Qt::darkGreen));
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (const std::vector<QImage>& result : results) {
        ASSERT_EQ(result.size(), expected.size());
        for (size_t i = 0; i < result.size(); ++i)
            EXPECT_EQ(result[i], expected[i]) << icons.Name(int(i)).toStdString();
    }
}

} // namespace
