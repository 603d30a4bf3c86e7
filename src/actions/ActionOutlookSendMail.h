// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ActionSendEMail.h"

/**
 * @brief The e-mail action that creates a mail item in the personal-information
 * store (with body, subject and attachments) and shows or sends it.
 */
class TActionOutlookSendMail : public TActionSendEMail
{
    Q_OBJECT
    Q_PROPERTY(bool SendEMailImmediately READ SendEMailImmediately WRITE SetSendEMailImmediately)
    Q_PROPERTY(QStringList Attachments READ Attachments WRITE SetAttachments)
    Q_PROPERTY(bool AttachmentsActive READ AttachmentsActive WRITE SetAttachmentsActive)

public:
    TActionOutlookSendMail();

    // Send the mail at once instead of showing it.
    KESTRUN_FIELD(bool, SendEMailImmediately, false)
    // Paths of the files to attach.
    KESTRUN_FIELD(QStringList, Attachments)
    KESTRUN_FIELD(bool, AttachmentsActive, false)

    void ExecuteAction(TActionContext& context) override;

    // The mail of a link list: To, CC and BCC from the address fields (only what is
    // an address: a plain address (local-part@domain), with or without a display name; the rest is
    // traced and left out), subject, body (HTML when htmlBody), and the attachments
    // that exist; the missing ones go to *missing.
    static TMailItem CreateNewEMail(const QStringList& linkList, bool htmlBody, QStringList* missing);
    // The user's notice about attachments that were left out; empty for none.
    static QString MissingAttachmentsText(const QStringList& missing);

protected:
    // Sends at once on a worker thread when asked to and an account is set, else (or
    // when sending fails) hands the mail to the composer.
    void HandOnMail(TActionContext& context, QStringList& linkList, bool htmlBody) override;
};
