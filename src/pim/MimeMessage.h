// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/MailItem.h"

#include <QByteArray>
#include <QDateTime>

/**
 * The mail as an Internet message (RFC 5322 with MIME): Date (with a numeric zone),
 * From, To, Cc (never Bcc: those addresses go only to the server; each display name
 * its own RFC 2047 encoded words when it is not plain ASCII), Subject (RFC 2047
 * encoded when it is not plain ASCII), every header folded at 78 characters, the
 * body in UTF-8 and base64, as text/html when the item says so and text/plain
 * otherwise, and each attachment base64 with its file
 * name (RFC 2231 encoded when it is not plain ASCII) in a multipart/mixed message.
 * Line breaks in header values are dropped, so call data can never add a header.
 * Throws EKestrunError when an attachment cannot be read.
 */
QByteArray BuildMimeMessage(const TMailItem& item, const QString& sender, const QDateTime& date);
