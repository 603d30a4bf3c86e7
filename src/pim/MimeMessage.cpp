#include "pim/MimeMessage.h"

#include "platform/KestrunError.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextDocument>
#include <QUuid>

namespace {

const QByteArray CRLF = "\r\n";

// A header value without line breaks.
QString OneLine(QString value)
{
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    return value.trimmed();
}

bool IsPlainAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

// RFC 2047: an encoded word per piece, so no line of the header gets too long.
QByteArray EncodedWords(const QString& text)
{
    if (IsPlainAscii(text))
        return text.toUtf8();
    QByteArray words;
    QString rest = text;
    while (!rest.isEmpty()) {
        // 45 bytes of UTF-8 give 60 characters of base64; never split a character.
        qsizetype take = 0;
        qsizetype bytes = 0;
        while (take < rest.size()) {
            const qsizetype next = rest.at(take).isHighSurrogate() && take + 1 < rest.size() ? 2 : 1;
            const qsizetype size = rest.mid(take, next).toUtf8().size();
            if (bytes + size > 45 && take > 0)
                break;
            bytes += size;
            take += next;
        }
        if (!words.isEmpty())
            words += CRLF + ' ';
        words += "=?UTF-8?B?" + rest.left(take).toUtf8().toBase64() + "?=";
        rest = rest.mid(take);
    }
    return words;
}

QByteArray Base64Lines(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray lines;
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        lines += encoded.mid(i, 76) + CRLF;
    return lines;
}

// RFC 2231 for names that are not plain ASCII; quotes and backslashes never reach the quoted form.
QByteArray FileNameParameter(const char* name, const QString& fileName)
{
    if (IsPlainAscii(fileName) && !fileName.contains(u'"') && !fileName.contains(u'\\'))
        return QByteArray(name) + "=\"" + fileName.toLatin1() + '"';
    return QByteArray(name) + "*=UTF-8''" + fileName.toUtf8().toPercentEncoding();
}

QByteArray AddressHeader(const char* name, const QStringList& addresses)
{
    QStringList clean;
    for (const QString& address : addresses)
        clean << OneLine(address);
    return QByteArray(name) + ": " + EncodedWords(clean.join(QStringLiteral(", "))) + CRLF;
}

QByteArray BodyPart(const QString& body)
{
    const QByteArray type = Qt::mightBeRichText(body) ? "text/html" : "text/plain";
    return "Content-Type: " + type + "; charset=UTF-8" + CRLF + "Content-Transfer-Encoding: base64" + CRLF + CRLF +
        Base64Lines(body.toUtf8());
}

QByteArray AttachmentPart(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EKestrunError(QStringLiteral("The attachment \"%1\" cannot be read: %2").arg(path, file.errorString()));
    const QString fileName = QFileInfo(path).fileName();
    return "Content-Type: application/octet-stream; " + FileNameParameter("name", fileName) + CRLF +
        "Content-Disposition: attachment; " + FileNameParameter("filename", fileName) + CRLF +
        "Content-Transfer-Encoding: base64" + CRLF + CRLF + Base64Lines(file.readAll());
}

} // namespace

QByteArray BuildMimeMessage(const TMailItem& item, const QString& sender, const QDateTime& date)
{
    QByteArray message;
    message += "Date: " + QLocale::c().toString(date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss t")).toLatin1() + CRLF;
    message += "From: " + OneLine(sender).toUtf8() + CRLF;
    if (!item.To.isEmpty())
        message += AddressHeader("To", item.To);
    if (!item.CC.isEmpty())
        message += AddressHeader("Cc", item.CC);
    message += "Subject: " + EncodedWords(OneLine(item.Subject)) + CRLF;
    const QString domain = sender.section(u'@', 1).remove(u'>').trimmed();
    message += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@' +
        OneLine(domain.isEmpty() ? QStringLiteral("kestrun.invalid") : domain).toUtf8() + '>' + CRLF;
    message += "MIME-Version: 1.0" + CRLF;
    if (item.Attachments.isEmpty())
        return message + BodyPart(item.HTMLBody);

    const QByteArray boundary = "=_kestrun_" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
    message += "Content-Type: multipart/mixed; boundary=\"" + boundary + '"' + CRLF + CRLF;
    message += "--" + boundary + CRLF + BodyPart(item.HTMLBody);
    for (const QString& path : item.Attachments)
        message += "--" + boundary + CRLF + AttachmentPart(path);
    return message + "--" + boundary + "--" + CRLF;
}
