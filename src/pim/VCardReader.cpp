// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/VCardReader.h"

#include "trace/Trace.h"

#include <QStringDecoder>

#include <cctype>
#include <optional>
#include <utility>

namespace {

// How much of a damaged line a warning quotes.
constexpr qsizetype QuotedLineLength = 80;

bool IsQuotedPrintableHeader(const QByteArray& line)
{
    const qsizetype colon = line.indexOf(':');
    return colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

// The file's lines as the format means them: a line break followed by a blank or
// tab continues the line (folding), and so does the "=" at the end of a
// quoted-printable value (its soft line break, which version 2.1 uses instead).
QList<QByteArray> LogicalLines(const QByteArray& content)
{
    QList<QByteArray> lines;
    bool softBreakPending = false;
    for (QByteArray physical : content.split('\n')) {
        if (physical.endsWith('\r'))
            physical.chop(1);
        if (!lines.isEmpty() && softBreakPending) {
            lines.last().chop(1);
            lines.last() += physical;
        } else if (!lines.isEmpty() && (physical.startsWith(' ') || physical.startsWith('\t'))) {
            lines.last() += physical.mid(1);
        } else if (physical.isEmpty()) {
            continue;
        } else {
            lines.append(physical);
        }
        softBreakPending = lines.last().endsWith('=') && IsQuotedPrintableHeader(lines.last());
    }
    return lines;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// "=XX" is a byte; an "=" not followed by two hex digits is taken as it stands.
QByteArray DecodeQuotedPrintable(const QByteArray& encoded)
{
    QByteArray decoded;
    decoded.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '=' && i + 2 < encoded.size()) {
            const int high = HexDigit(encoded[i + 1]);
            const int low = HexDigit(encoded[i + 2]);
            if (high >= 0 && low >= 0) {
                decoded += char(high * 16 + low);
                i += 2;
                continue;
            }
        }
        decoded += encoded[i];
    }
    return decoded;
}

// The named character set where there is one the system knows; else UTF-8, and
// where the bytes are no UTF-8, the Windows code page that old exports used.
QString DecodeText(const QByteArray& bytes, const QByteArray& charset)
{
    if (!charset.isEmpty()) {
        QStringDecoder named(charset.constData());
        if (named.isValid())
            return named.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    return windows.isValid() ? QString(windows.decode(bytes)) : QString::fromLatin1(bytes);
}

// Splits at each separator outside double quotes.
QList<QByteArray> SplitOutsideQuotes(const QByteArray& text, char separator)
{
    QList<QByteArray> parts {QByteArray()};
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == separator && !quoted)
            parts.append(QByteArray());
        else
            parts.last() += c;
    }
    return parts;
}

QByteArray Unquoted(const QByteArray& text)
{
    QByteArray plain = text.trimmed();
    plain.replace('"', QByteArray());
    return plain;
}

bool IsName(const QByteArray& name)
{
    if (name.isEmpty())
        return false;
    for (const char c : name) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-'))
            return false;
    }
    return true;
}

// One content line, "group.NAME;PARAM=a,b;BARE:value"; nothing when it is none.
std::optional<TVCardProperty> ParseContentLine(const QByteArray& line)
{
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size() && colon < 0; ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            colon = i;
    }
    if (colon < 0)
        return std::nullopt;

    QList<QByteArray> header = SplitOutsideQuotes(line.left(colon), ';');
    const QByteArray qualifiedName = header.takeFirst().trimmed();
    const qsizetype dot = qualifiedName.lastIndexOf('.');
    const QByteArray name = qualifiedName.mid(dot + 1);
    if (!IsName(name))
        return std::nullopt;

    TVCardProperty property;
    property.Group = QString::fromUtf8(qualifiedName.left(std::max<qsizetype>(dot, 0)));
    property.Name = QString::fromLatin1(name).toUpper();
    QByteArray encoding;
    QByteArray charset;
    for (const QByteArray& parameter : header) {
        const qsizetype equals = parameter.indexOf('=');
        QByteArray key = equals < 0 ? QByteArray() : parameter.left(equals).trimmed().toUpper();
        const QByteArray value = parameter.mid(equals + 1).trimmed();
        // Version 2.1 writes most parameters bare: "TEL;WORK;VOICE", "NOTE;QUOTED-PRINTABLE".
        if (equals < 0) {
            static const QList<QByteArray> encodings {"QUOTED-PRINTABLE", "BASE64", "B", "8BIT", "7BIT"};
            key = encodings.contains(value.toUpper()) ? "ENCODING" : "TYPE";
        }
        if (key == "TYPE") {
            // TYPE="work,voice" is the same list as TYPE=work,voice.
            for (const QByteArray& type : Unquoted(value).split(','))
                property.Types.append(QString::fromUtf8(type.trimmed()).toLower());
        } else if (key == "ENCODING") {
            encoding = Unquoted(value).toUpper();
        } else if (key == "CHARSET") {
            charset = Unquoted(value);
        } else if (key == "VALUE") {
            property.ValueKind = QString::fromUtf8(Unquoted(value)).toLower();
        }
    }

    QByteArray value = line.mid(colon + 1);
    if (encoding == "QUOTED-PRINTABLE")
        value = DecodeQuotedPrintable(value);
    else if (encoding == "BASE64" || encoding == "B")
        value = QByteArray::fromBase64(value);
    property.Value = DecodeText(value, charset);
    return property;
}

bool IsMarker(const QByteArray& line, const char* marker)
{
    return line.trimmed().compare(marker, Qt::CaseInsensitive) == 0;
}

// UTF-16 files (with their byte order mark) are read as the UTF-8 the rest expects.
QByteArray AsUtf8(const QByteArray& content)
{
    if (content.startsWith("\xFF\xFE") || content.startsWith("\xFE\xFF")) {
        auto encoding = QStringConverter::encodingForData(content);
        QStringDecoder utf16(encoding.value_or(QStringConverter::Utf16));
        return QString(utf16.decode(content)).toUtf8();
    }
    if (content.startsWith("\xEF\xBB\xBF"))
        return content.mid(3);
    return content;
}

class TVCardFileReader
{
public:
    explicit TVCardFileReader(const QString& source)
        : m_source(source)
    {
    }

    QList<TVCard> Read(const QByteArray& content)
    {
        for (const QByteArray& line : LogicalLines(AsUtf8(content)))
            ReadLine(line);
        if (m_card)
            SkipCard(QStringLiteral("the file ends before END:VCARD"));
        if (m_strayLines > 0)
            Trace::Warning("VCardReader::ReadVCards:Text outside a card ignored",
                           QStringLiteral("%1: %2 line(s)").arg(m_source).arg(m_strayLines));
        return m_cards;
    }

private:
    void ReadLine(const QByteArray& line)
    {
        if (m_nestedDepth > 0) {
            // The inner card of a 2.1 AGENT property: not a contact of the folder.
            if (IsMarker(line, "BEGIN:VCARD"))
                ++m_nestedDepth;
            else if (IsMarker(line, "END:VCARD"))
                --m_nestedDepth;
            return;
        }
        if (IsMarker(line, "BEGIN:VCARD")) {
            if (m_card && m_agentOpen) {
                m_nestedDepth = 1;
                return;
            }
            if (m_card)
                SkipCard(QStringLiteral("a new card begins before END:VCARD"));
            m_card.emplace();
            m_agentOpen = false;
            ++m_cardNumber;
            return;
        }
        if (!m_card) {
            ++m_strayLines;
            return;
        }
        if (IsMarker(line, "END:VCARD")) {
            m_cards.append(*std::exchange(m_card, std::nullopt));
            return;
        }
        std::optional<TVCardProperty> property = ParseContentLine(line);
        if (!property) {
            Trace::Warning("VCardReader::ReadVCards:Line skipped",
                           QStringLiteral("%1, card %2: not a content line: %3")
                               .arg(m_source)
                               .arg(m_cardNumber)
                               .arg(QString::fromUtf8(line.left(QuotedLineLength))));
            return;
        }
        m_agentOpen = property->Name == u"AGENT" && property->Value.trimmed().isEmpty();
        if (property->Name == u"VERSION")
            m_card->Version = property->Value.trimmed();
        m_card->Properties.append(std::move(*property));
    }

    void SkipCard(const QString& reason)
    {
        Trace::Warning("VCardReader::ReadVCards:Card skipped",
                       QStringLiteral("%1, card %2: %3").arg(m_source).arg(m_cardNumber).arg(reason));
        m_card.reset();
    }

    QString m_source;
    QList<TVCard> m_cards;
    std::optional<TVCard> m_card;
    int m_cardNumber = 0;
    int m_strayLines = 0;
    int m_nestedDepth = 0;
    bool m_agentOpen = false;
};

} // namespace

const TVCardProperty* TVCard::First(QStringView name) const
{
    for (const TVCardProperty& property : Properties) {
        if (property.Name == name)
            return &property;
    }
    return nullptr;
}

QList<TVCard> ReadVCards(const QByteArray& content, const QString& source)
{
    return TVCardFileReader(source).Read(content);
}
