#include "engine/PageProducer.h"

#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QFile>
#include <QStringDecoder>

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

    // The decoder drops a leading byte-order mark.
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        Trace::Warning("PageProducer::ReadTemplateFile:Not UTF-8, bad bytes replaced", path);
    return text;
}
