#pragma once

#include <QString>

#include <functional>

// Opens a file or an address (http:, mailto: ...) with the program the desktop
// associates with it. False, with the reason in *error, when the file does not exist
// or the desktop has no program to open it with.
using TDocumentOpener = std::function<bool(const QString& document, QString* error)>;

bool OpenDocument(const QString& document, QString* error);

// Puts opener in place of the desktop's and hands back the one it replaces, so that
// tests can see what would be opened without starting a program.
TDocumentOpener ReplaceDocumentOpener(TDocumentOpener opener);
