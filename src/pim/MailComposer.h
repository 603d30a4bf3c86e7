// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/MailItem.h"

#include <QStringList>

#include <functional>

// Opens the user's mail program with a new message filled from the item through
// xdg-email, waiting for its exit status while the event loop goes on; false, with
// the reason in *error, when xdg-email cannot be started or reports a failure.
using TMailComposer = std::function<bool(const TMailItem& item, QString* error)>;

bool OpenMailComposer(const TMailItem& item, QString* error);

// The item as the encoded mailto link (RFC 6068) the composer gets: the plain
// addr-specs of To, cc and bcc (display names and anything that is not an address
// left out), the subject and the body as plain text (an HTML body turned into its text).
QString ComposerLink(const TMailItem& item);

// The arguments of xdg-email for the item: --utf8, --attach per file (paths the
// action itself holds), then ComposerLink. No value from a call is an argument of
// its own, and xdg-email reads nothing from the link that could attach a file.
QStringList XdgEmailArguments(const TMailItem& item);

// Puts composer in place of xdg-email and hands back the one it replaces, so that
// tests can see what would be composed without starting a program.
TMailComposer ReplaceMailComposer(TMailComposer composer);
