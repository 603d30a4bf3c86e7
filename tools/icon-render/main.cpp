// SPDX-License-Identifier: GPL-3.0-or-later

// icon-render: draws an SVG icon as a square PNG of the given size, for the
// hicolor icon theme beside the scalable icon. Used while building.
//
//   icon-render <input.svg> <size> <output.png>

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: icon-render <input.svg> <size> <output.png>\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    bool sizeRead = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&sizeRead);
    if (!sizeRead || size < 1 || size > 1024) {
        std::fprintf(stderr, "icon-render: the size must be 1 to 1024, not \"%s\"\n", argv[2]);
        return 2;
    }
    QSvgRenderer renderer(input);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "icon-render: cannot read the SVG file %s\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    // No text chunks: the same SVG gives the same bytes, so packages built twice agree.
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "icon-render: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
