// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/MimeMessage.h"

#include "pim/MailAddress.h"
#include "platform/KestrunError.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUuid>

#include <cstdlib>

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

// The longest line a header gets (RFC 5322 2.1.1), CR LF not counted.
constexpr qsizetype MaxLineLength = 78;

// RFC 2047 encoded words for text, one per piece: 39 bytes of UTF-8 give 52
// characters of base64 and a word of 64, so even "Subject: " and a word fit a line.
// A character is never split between two words.
QList<QByteArray> EncodedWords(const QString& text)
{
    QList<QByteArray> words;
    QString rest = text;
    while (!rest.isEmpty()) {
        qsizetype take = 0;
        qsizetype bytes = 0;
        while (take < rest.size()) {
            const qsizetype next = rest.at(take).isHighSurrogate() && take + 1 < rest.size() ? 2 : 1;
            const qsizetype size = rest.mid(take, next).toUtf8().size();
            if (bytes + size > 39 && take > 0)
                break;
            bytes += size;
            take += next;
        }
        words << "=?UTF-8?B?" + rest.left(take).toUtf8().toBase64() + "?=";
        rest = rest.mid(take);
    }
    return words;
}

// Plain ASCII text as its blank-separated words, or encoded words when it is not
// plain ASCII or holds a word too long for a line of its own.
QList<QByteArray> TextWords(const QString& text)
{
    if (!IsPlainAscii(text))
        return EncodedWords(text);
    QList<QByteArray> words;
    for (const QString& word : text.split(u' ')) {
        if (word.size() > MaxLineLength - 12)
            return EncodedWords(text);
        words << word.toLatin1();
    }
    return words;
}

// "Name: " and the words separated by blanks, folded (RFC 5322 2.2.3) before the word
// that would make a line longer than 78 characters.
QByteArray FoldedHeader(const char* name, const QList<QByteArray>& words)
{
    QByteArray header = QByteArray(name) + ':';
    qsizetype lineLength = header.size();
    for (const QByteArray& word : words) {
        // A line of blanks alone is no line: never fold before an empty word.
        if (lineLength + 1 + word.size() > MaxLineLength && lineLength > qsizetype(qstrlen(name)) + 1 &&
            !word.isEmpty()) {
            header += CRLF;
            lineLength = 0;
        }
        header += ' ' + word;
        lineLength += 1 + word.size();
    }
    return header + CRLF;
}

// One mailbox: its display name (encoded words of its own when it is not plain
// ASCII, else a quoted string) and the address in angle brackets, or the bare address.
QList<QByteArray> MailboxWords(const QString& recipient)
{
    const auto address = ParseMailAddress(OneLine(recipient));
    if (!address)
        return {OneLine(recipient).toUtf8()};
    QList<QByteArray> words;
    if (!address->DisplayName.isEmpty()) {
        if (IsPlainAscii(address->DisplayName))
            words = QByteArray('"' + address->DisplayName.toLatin1() + '"').split(' ');
        else
            words = EncodedWords(address->DisplayName);
        words << '<' + address->AddrSpec.toLatin1() + '>';
    } else {
        words << address->AddrSpec.toLatin1();
    }
    return words;
}

QByteArray AddressHeader(const char* name, const QStringList& addresses)
{
    QList<QByteArray> words;
    for (const QString& address : addresses) {
        if (!words.isEmpty())
            words.back() += ',';
        words += MailboxWords(address);
    }
    return FoldedHeader(name, words);
}

// RFC 5322 3.3: the zone as a numeric offset; a zone name such as "CET" means
// nothing to readers, who take it as -0000.
QByteArray DateHeader(const QDateTime& date)
{
    const int offsetMinutes = date.offsetFromUtc() / 60;
    const char sign = offsetMinutes < 0 ? '-' : '+';
    const int minutes = std::abs(offsetMinutes);
    return "Date: " + QLocale::c().toString(date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")).toLatin1() + sign +
        QByteArray::number(minutes / 60).rightJustified(2, '0') +
        QByteArray::number(minutes % 60).rightJustified(2, '0') + CRLF;
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

QByteArray BodyPart(const QString& body, bool html)
{
    const QByteArray type = html ? "text/html" : "text/plain";
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
    message += DateHeader(date);
    message += AddressHeader("From", {sender});
    if (!item.To.isEmpty())
        message += AddressHeader("To", item.To);
    if (!item.CC.isEmpty())
        message += AddressHeader("Cc", item.CC);
    message += FoldedHeader("Subject", TextWords(OneLine(item.Subject)));
    const QString domain = sender.section(u'@', 1).remove(u'>').trimmed();
    message += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@' +
        OneLine(domain.isEmpty() ? QStringLiteral("kestrun.invalid") : domain).toUtf8() + '>' + CRLF;
    message += "MIME-Version: 1.0" + CRLF;
    if (item.Attachments.isEmpty())
        return message + BodyPart(item.HTMLBody, item.BodyIsHtml);

    const QByteArray boundary = "=_kestrun_" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
    message += "Content-Type: multipart/mixed; boundary=\"" + boundary + '"' + CRLF + CRLF;
    message += "--" + boundary + CRLF + BodyPart(item.HTMLBody, item.BodyIsHtml);
    for (const QString& path : item.Attachments)
        message += "--" + boundary + CRLF + AttachmentPart(path);
    return message + "--" + boundary + "--" + CRLF;
}
