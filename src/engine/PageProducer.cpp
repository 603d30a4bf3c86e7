// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/PageProducer.h"

#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// Windows-1252 is Latin-1 but for 0x80-0x9F; the five codes it leaves unassigned
// stay the C1 controls, as Windows itself reads them.
constexpr char16_t Windows1252From0x80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString FromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto code = uchar(c);
        *out++ = code >= 0x80 && code < 0xA0 ? QChar(Windows1252From0x80[code - 0x80]) : QChar(code);
    }
    return text;
}

// Templates edited on Windows come in its code page or, with a byte-order mark, in
// UTF-16; Qt's own core converters have no Windows-1252.
QString DecodeTemplateText(const QByteArray& bytes, const QString& path)
{
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        // The decoder drops the byte-order mark.
        QStringDecoder decoder(*marked);
        QString text = decoder(bytes);
        if (decoder.hasError())
            Trace::Warning("PageProducer::ReadTemplateFile:Not valid in the encoding its byte-order mark names, bad "
                           "bytes replaced",
                           path);
        return text;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    Trace::Value("PageProducer::ReadTemplateFile:Not UTF-8, read as Windows-1252", path);
    return FromWindows1252(bytes);
}

} // namespace

QString ProducePage(QStringView text, const TTagHandler& handler)
{
    QString page;
    page.reserve(text.size());
    qsizetype copied = 0;
    for (const TTemplateTag& tag : ScanTemplateTags(text)) {
        page += text.mid(copied, tag.Start - copied);
        page += handler(tag.Name, tag.Attributes);
        copied = tag.Start + tag.Length;
    }
    page += text.mid(copied);
    return page;
}

QString ReadTemplateFile(const QString& path)
{
    if (path.isEmpty())
        throw EKestrunError(QStringLiteral("The template \"\" cannot be read: no file is named."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EKestrunError(QStringLiteral("The template \"%1\" cannot be read: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EKestrunError(QStringLiteral("The template \"%1\" cannot be read: %2").arg(path, file.errorString()));

    return DecodeTemplateText(bytes, path);
}
