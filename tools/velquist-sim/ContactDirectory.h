// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <stdexcept>

// A contacts file the simulator cannot use; the message names the file and the line.
class EContactsFile : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/**
 * @brief The simulated directory: contacts read from a CSV file, and the searches
 * the directory server offers (by number, by contact text, by one field).
 *
 * A contact is its non-empty cells as field identifier and value, in the file's
 * column order. Field identifiers are compared ignoring case, because the client
 * sends them in small letters.
 */
class ContactDirectory
{
public:
    using Contact = QList<QPair<QString, QString>>;

    // RFC 4180: UTF-8 (a byte order mark is skipped), comma separated, fields with
    // commas, quotes or line breaks in double quotes, "" for a quote inside them,
    // CRLF or LF line ends, blank lines ignored. The header row names the fields.
    static ContactDirectory FromCsvFile(const QString& path);
    static ContactDirectory FromCsvText(const QString& text, const QString& origin);

    void SetNumberFields(const QStringList& fields) { m_numberFields = fields; }
    void SetCountryCode(const QString& countryCode) { m_countryCode = countryCode; }

    const QStringList& Fields() const { return m_fields; }
    const QList<Contact>& Contacts() const { return m_contacts; }
    // The file's spelling of the field, or empty when there is no such column.
    QString FieldNamed(const QString& field) const;
    bool IsNumberField(const QString& field) const;

    // Every telephone field, compared after NormaliseNumber.
    QList<Contact> SearchNumber(const QString& key) const;
    // Any other field contains the key, ignoring case.
    QList<Contact> SearchContact(const QString& key) const;
    // One field: a telephone field by number, any other containing the key.
    QList<Contact> SearchField(const QString& field, const QString& key) const;
    // Any field's whole value equals the key, ignoring case.
    QList<Contact> SearchExactValue(const QString& key) const;

    // Separators dropped, international form: a leading "00" becomes "+", a single
    // leading "0" becomes "+" and the country code ("030 / 123-45" -> "+493012345").
    QString NormaliseNumber(const QString& number) const;

private:
    template <typename Predicate>
    QList<Contact> Matching(Predicate matches) const;

    QStringList m_fields;
    QList<Contact> m_contacts;
    QStringList m_numberFields;
    QString m_countryCode = QStringLiteral("49");
};
