// SPDX-License-Identifier: GPL-3.0-or-later

#include "ContactDirectory.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

struct CsvRow
{
    int line = 0;
    QStringList cells;
};

QList<CsvRow> ParseCsv(QStringView text, const QString& origin)
{
    QList<CsvRow> rows;
    QStringList cells;
    QString cell;
    bool inQuotes = false;
    // The current cell was quoted, so "" alone on a line is a row, not a blank line.
    bool cellWasQuoted = false;
    int line = 1;
    int rowLine = 1;
    const auto fail = [&](const char* what) {
        throw EContactsFile(
            QStringLiteral("%1, line %2: %3").arg(origin).arg(line).arg(QLatin1StringView(what)).toStdString());
    };
    const auto endRow = [&] {
        cells.append(cell);
        if (cells.size() > 1 || !cells.front().isEmpty() || cellWasQuoted)
            rows.append({rowLine, cells});
        cells.clear();
        cell.clear();
        cellWasQuoted = false;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c != u'"') {
                line += c == u'\n' ? 1 : 0;
                cell += c;
            } else if (i + 1 < text.size() && text[i + 1] == u'"') {
                cell += c;
                ++i;
            } else {
                inQuotes = false;
            }
        } else if (c == u'"') {
            if (!cell.isEmpty() || cellWasQuoted)
                fail("a quote inside a field that does not start with one");
            inQuotes = true;
            cellWasQuoted = true;
        } else if (c == u',') {
            cells.append(cell);
            cell.clear();
            cellWasQuoted = false;
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;
        } else if (c == u'\n') {
            endRow();
            rowLine = ++line;
        } else if (cellWasQuoted) {
            fail("text after the closing quote of a field");
        } else {
            cell += c;
        }
    }
    if (inQuotes)
        fail("a quoted field is not closed");
    if (!cell.isEmpty() || !cells.isEmpty() || cellWasQuoted)
        endRow();
    return rows;
}

} // namespace

ContactDirectory ContactDirectory::FromCsvFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EContactsFile(QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(file.readAll());
    if (decoder.hasError())
        throw EContactsFile(QStringLiteral("%1: not UTF-8 text").arg(path).toStdString());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return FromCsvText(text, path);
}

ContactDirectory ContactDirectory::FromCsvText(const QString& text, const QString& origin)
{
    const QList<CsvRow> rows = ParseCsv(text, origin);
    if (rows.isEmpty())
        throw EContactsFile(QStringLiteral("%1: no header row").arg(origin).toStdString());

    // Identifiers become element names of the answer.
    static const QRegularExpression elementName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*$"));
    ContactDirectory directory;
    for (const QString& cell : rows.front().cells) {
        const QString field = cell.trimmed();
        if (!elementName.match(field).hasMatch())
            throw EContactsFile(
                QStringLiteral("%1, line 1: \"%2\" cannot be a field identifier").arg(origin, field).toStdString());
        if (!directory.FieldNamed(field).isEmpty())
            throw EContactsFile(QStringLiteral("%1, line 1: \"%2\" is there twice").arg(origin, field).toStdString());
        directory.m_fields.append(field);
    }
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        if (row.cells.size() != directory.m_fields.size())
            throw EContactsFile(QStringLiteral("%1, line %2: %3 fields where the header has %4")
                                    .arg(origin)
                                    .arg(row.line)
                                    .arg(row.cells.size())
                                    .arg(directory.m_fields.size())
                                    .toStdString());
        Contact contact;
        for (qsizetype c = 0; c < row.cells.size(); ++c) {
            if (const QString value = row.cells[c].trimmed(); !value.isEmpty())
                contact.append({directory.m_fields[c], value});
        }
        directory.m_contacts.append(contact);
    }
    return directory;
}

QString ContactDirectory::FieldNamed(const QString& field) const
{
    for (const QString& name : m_fields) {
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

bool ContactDirectory::IsNumberField(const QString& field) const
{
    return m_numberFields.contains(field, Qt::CaseInsensitive);
}

template <typename Predicate>
QList<ContactDirectory::Contact> ContactDirectory::Matching(Predicate matches) const
{
    QList<Contact> found;
    for (const Contact& contact : m_contacts) {
        if (std::any_of(contact.cbegin(), contact.cend(),
                        [&](const auto& cell) { return matches(cell.first, cell.second); }))
            found.append(contact);
    }
    return found;
}

QList<ContactDirectory::Contact> ContactDirectory::SearchNumber(const QString& key) const
{
    const QString wanted = NormaliseNumber(key);
    if (wanted.isEmpty())
        return {};
    return Matching([&](const QString& field, const QString& value) {
        return IsNumberField(field) && NormaliseNumber(value) == wanted;
    });
}

QList<ContactDirectory::Contact> ContactDirectory::SearchContact(const QString& key) const
{
    return Matching([&](const QString& field, const QString& value) {
        return !IsNumberField(field) && value.contains(key, Qt::CaseInsensitive);
    });
}

QList<ContactDirectory::Contact> ContactDirectory::SearchField(const QString& field, const QString& key) const
{
    const bool isNumber = IsNumberField(field);
    const QString wanted = isNumber ? NormaliseNumber(key) : key;
    return Matching([&](const QString& name, const QString& value) {
        if (name.compare(field, Qt::CaseInsensitive) != 0)
            return false;
        return isNumber ? !wanted.isEmpty() && NormaliseNumber(value) == wanted
                        : value.contains(wanted, Qt::CaseInsensitive);
    });
}

QList<ContactDirectory::Contact> ContactDirectory::SearchExactValue(const QString& key) const
{
    return Matching([&](const QString&, const QString& value) { return value.compare(key, Qt::CaseInsensitive) == 0; });
}

QString ContactDirectory::NormaliseNumber(const QString& number) const
{
    QString digits;
    bool international = false;
    for (const QChar c : number) {
        if (c >= u'0' && c <= u'9')
            digits += c;
        else if (c == u'+' && digits.isEmpty())
            international = true;
    }
    if (digits.isEmpty())
        return {};
    if (international)
        return u'+' + digits;
    if (digits.startsWith(QStringLiteral("00")))
        return u'+' + digits.mid(2);
    if (digits.startsWith(u'0'))
        return u'+' + m_countryCode + digits.mid(1);
    return digits;
}
