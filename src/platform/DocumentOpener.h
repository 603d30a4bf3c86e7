// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

// Opens a file or an address (http:, mailto: ...) with the program the desktop
// associates with it. False, with the reason in *error, when the file does not exist
// or the desktop has no program to open it with.
using TDocumentOpener = std::function<bool(const QString& document, QString* error)>;

// The desktop runs xdg-open for it and waits for its answer (the event loop goes on);
// a program still starting after DesktopHandOverMs has taken it.
bool OpenDocument(const QString& document, QString* error);

// How long xdg-open and xdg-email get to report a failure before the program they
// started counts as having taken the job.
constexpr int DesktopHandOverMs = 10000;

// The reason an xdg-utils tool gives by its exit status, for the trace.
QString DesktopToolFailure(const QString& tool, int status);

// Puts opener in place of the desktop's and hands back the one it replaces, so that
// tests can see what would be opened without starting a program.
TDocumentOpener ReplaceDocumentOpener(TDocumentOpener opener);
