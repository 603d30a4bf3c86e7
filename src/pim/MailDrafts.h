// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/MailItem.h"

#include <QDateTime>
#include <QString>

/**
 * Keeps a mail that neither the SMTP server nor the mail program took: the whole
 * message (RFC 5322, as it would have been sent, attachments included where they
 * can still be read) as a new .eml file in the store's mail drafts folder
 * (PimFolderPath(TPimFolderKind::MailDrafts)), made private to the user (folder
 * 0700, file 0600) since it holds call data. Any mail program opens such a file.
 * Returns its path; throws EKestrunError when it cannot be written.
 */
QString KeepMailDraft(const TMailItem& item, const QString& sender, const QDateTime& date);
