// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/MailAccount.h"
#include "pim/MailItem.h"

#include <atomic>

// How long each phase of an SMTP delivery may take. The overall limit alone does not
// bound the wait for the server's reply to the end of the message, so every reply
// has its own limit, a transfer slower than LowSpeedBytes per second for
// LowSpeedSeconds ends, and TCP keep-alive finds a server that is gone.
struct TSmtpLimits
{
    long ConnectSeconds = 15;
    long ResponseSeconds = 30;
    long LowSpeedBytes = 1;
    long LowSpeedSeconds = 30;
    long TotalSeconds = 120;
    long KeepAliveSeconds = 10;
};

/**
 * Sends the mail through the account's SMTP server to every To, CC and BCC
 * address (their addr-specs), within the limits. Blocks: run it on a worker
 * thread. Ends early, unsent, once *abandoned is set. Throws EKestrunError with
 * the server's or the connection's error (never the password) when the mail was
 * not accepted.
 */
void SendMail(const TMailItem& item, const TMailAccount& account, const TSmtpLimits& limits = {},
              const std::atomic<bool>* abandoned = nullptr);
