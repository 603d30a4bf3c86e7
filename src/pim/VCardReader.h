// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/VCardProperty.h"

#include <QByteArray>
#include <QList>
#include <QString>

// One card of a vCard file: its properties in file order.
struct TVCard
{
    QString Version;
    QList<TVCardProperty> Properties;

    // The first property of that name (in capitals), or null.
    const TVCardProperty* First(QStringView name) const;
};

/**
 * @brief Reads the cards of a vCard file (versions 2.1, 3.0 and 4.0), as address
 * books write them: folded lines, quoted-printable values with soft line breaks,
 * CHARSET parameters, property groups, bare 2.1 type parameters.
 *
 * Damaged input never stops the reading: a card cut off before its END:VCARD is
 * skipped, and so is a line that is no content line, each with a warning trace
 * naming `source` and the card's number; the cards around them are read.
 */
QList<TVCard> ReadVCards(const QByteArray& content, const QString& source);
