#pragma once

#include "pim/MailItem.h"

#include <QStringList>

#include <functional>

// Opens the user's mail program with a new message filled from the item; false,
// with the reason in *error, when it cannot be started.
using TMailComposer = std::function<bool(const TMailItem& item, QString* error)>;

bool OpenMailComposer(const TMailItem& item, QString* error);

// The arguments of xdg-email for the item: --cc and --bcc per address, the
// subject, the body as plain text (an HTML body is turned into its text),
// --attach per file, then the To addresses.
QStringList XdgEmailArguments(const TMailItem& item);

// Puts composer in place of xdg-email and hands back the one it replaces, so that
// tests can see what would be composed without starting a program.
TMailComposer ReplaceMailComposer(TMailComposer composer);
