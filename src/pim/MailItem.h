// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

/**
 * @brief A new e-mail as the mail-program action makes it: sent at once over
 * SMTP or handed to the user's mail composer.
 */
struct TMailItem
{
    QStringList To;
    QStringList CC;
    QStringList BCC;
    QString Subject;
    // The body as the action produced it.
    QString HTMLBody;
    // Whether the body is HTML: its template's type decides, never what it holds.
    bool BodyIsHtml = false;
    // Paths of existing files.
    QStringList Attachments;

    bool operator==(const TMailItem&) const = default;
};

// The addresses of a field: split at commas and semicolons, blanks and empty parts dropped.
QStringList MailAddresses(const QString& field);
