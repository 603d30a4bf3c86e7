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
};
