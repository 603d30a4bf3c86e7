// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One query field of a mailto link: its name as written, its value, and whether
// the value is a list of addresses (whose "@" and "," stay as they are).
struct TMailtoField
{
    QString Name;
    QString Value;
    bool Addresses = false;
};

// The mailto link (RFC 6068): "mailto:", the addresses joined by ",", then each field
// that is not empty as "?name=value" or "&name=value". Every value is percent-encoded
// as UTF-8 but for the unreserved characters (and "@" and "," in addresses), and line
// breaks become CR LF, so "&", "?", "#", "%" and line breaks stay inside their field.
QString MailtoLink(const QStringList& to, const QList<TMailtoField>& fields);
