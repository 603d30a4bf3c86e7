// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestFiles.h"

#include "model/IconList.h"
#include "widgets/ListBoxDrawItem.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QImage>
#include <QListWidget>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// The platform's icon of every file is a red square here.
class RedFileIcons : public QFileIconProvider
{
public:
    QIcon icon(const QFileInfo&) const override
    {
        QPixmap red(16, 16);
        red.fill(Qt::red);
        return QIcon(red);
    }
};

// One entry drawn into an image of its size.
QImage DrawEntry(const QString& filePath, int iconIndex)
{
    QImage image(200, 16, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.palette = QApplication::palette();
    option.font = QApplication::font();
    option.fontMetrics = QFontMetrics(option.font);
    option.state = QStyle::State_Enabled;
    ListBoxDrawItem(painter, option, QStringLiteral("Starte"), filePath, iconIndex, RedFileIcons());
    return image;
}

} // namespace

TEST(ListBoxDrawItem, LongTextIsCutWithDots)
{
    const QFontMetrics metrics(QApplication::font());
    const QString text = QStringLiteral("Starte: /usr/local/bin/ein-sehr-langes-programm --mit --vielen --optionen");
    const int full = metrics.horizontalAdvance(text) + 19;
    EXPECT_EQ(CutListBoxText(metrics, text, full), text);
    const QString cut = CutListBoxText(metrics, text, full / 2);
    ASSERT_TRUE(cut.endsWith(QStringLiteral("...")));
    const QString prefix = cut.chopped(3);
    EXPECT_TRUE(text.startsWith(prefix));
    EXPECT_LE(metrics.horizontalAdvance(cut) + 19, full / 2);
    EXPECT_GT(metrics.horizontalAdvance(text.left(prefix.size() + 1) + QStringLiteral("...")) + 19, full / 2)
        << "the longest prefix that fits";
    EXPECT_EQ(CutListBoxText(metrics, text, 20), text) << "nothing fits: the whole text, clipped";
}

TEST(ListBoxDrawItem, ExistingFileShowsItsOwnIconElseTheActionsIcon)
{
    const QString program = QDir::temp().filePath(QStringLiteral("programm.sh"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(program, "#!/bin/sh\n"));
    const int terminal = IconList::Instance().IndexOf(u"terminal");
    ASSERT_GE(terminal, 0);

    EXPECT_EQ(DrawEntry(program, terminal).pixelColor(8, 8), QColor(Qt::red));
    for (const QString& path : {QString(), QDir::temp().filePath(QStringLiteral("fehlt.sh"))}) {
        const QImage drawn = DrawEntry(path, terminal);
        EXPECT_NE(drawn.pixelColor(8, 8), QColor(Qt::red)) << path.toStdString();
        // The list's icon is drawn: some pixel of its square differs from the background.
        bool drawnIcon = false;
        for (int y = 0; y < 16 && !drawnIcon; ++y) {
            for (int x = 0; x < 16 && !drawnIcon; ++x)
                drawnIcon = drawn.pixelColor(x, y) != QColor(Qt::white) &&
                    drawn.pixelColor(x, y) != QApplication::palette().color(QPalette::Base);
        }
        EXPECT_TRUE(drawnIcon) << path.toStdString();
    }
}
