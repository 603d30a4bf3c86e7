#pragma once

#include "pim/MailAccount.h"
#include "pim/MailItem.h"

/**
 * Sends the mail through the account's SMTP server to every To, CC and BCC
 * address, waiting at most 15 s for the connection and 60 s for the whole
 * delivery. Throws EKestrunError with the server's or the connection's error
 * (never the password) when the mail was not accepted.
 */
void SendMail(const TMailItem& item, const TMailAccount& account);
