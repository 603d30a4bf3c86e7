// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

/**
 * @brief One property of a vCard ("item1.TEL;TYPE=work,voice:+49 30 1234"), with
 * its transfer encoding and character set already undone.
 *
 * The value keeps the backslash escapes of the format, because where a
 * structured value (N, ORG) splits at ";" depends on them; Text() and
 * Components() give the plain texts.
 */
struct TVCardProperty
{
    // "item1" of "item1.EMAIL"; empty when the property has no group.
    QString Group;
    // In capitals: "TEL", "EMAIL".
    QString Name;
    // The TYPE parameter's values in small letters, however they were written
    // (TYPE=a,b, repeated TYPE, or the bare "TEL;CELL" of version 2.1).
    QStringList Types;
    // The VALUE parameter in small letters ("uri", "text"), empty when absent.
    QString ValueKind;
    QString Value;

    bool HasType(QStringView type) const { return Types.contains(type); }
    // The whole value with its escapes undone.
    QString Text() const;
    // The value split at each unescaped ";", each part with its escapes undone. Commas
    // stay: version 2.1 does not escape them, so they cannot tell list items apart.
    QStringList Components() const;
};
