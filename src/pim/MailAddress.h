// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/**
 * @brief A recipient as the mail actions take it: a plain address (local-part@domain)
 * ("anna@example.org"), optionally after a display name ("Anna Berg <anna@example.org>").
 *
 * Recipients come from call data, directory answers and address books, and the
 * desktop's composer (xdg-email and the mail program behind it) reads them again:
 * a quote, a backslash, "?", "%" or a scheme in an address could make it attach a
 * file or add a field. So only the plain form counts as an address.
 */
struct TMailAddress
{
    QString DisplayName;
    QString AddrSpec;
};

// Letters, digits and ".", "_", "+", "-" before the "@", a domain with a dot after
// it; no quote, backslash, "?", "%", blank, control character or scheme.
bool IsPlainAddrSpec(const QString& text);

// The address of text, or nullopt when it is neither a plain address (local-part@domain) nor a display
// name (no control character, "<", ">", quote or backslash inside; surrounding double
// quotes dropped) followed by one in angle brackets.
std::optional<TMailAddress> ParseMailAddress(const QString& text);

// The addr-specs of a list of recipients that ParseMailAddress accepts.
QStringList AddrSpecs(const QStringList& recipients);
