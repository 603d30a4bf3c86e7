// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The text with every %NAME% reference to a set environment variable replaced
// by its value. The Windows names USERNAME, COMPUTERNAME, TEMP, TMP and APPDATA
// stand for the user name, the host name, the temporary folder and the
// configuration folder where the variable itself is not set. References to
// other variables that are not set, and lone "%" signs, stay as written.
// Only for text from the configuration: text from callers, servers or the user
// is never expanded, or it could read the program's environment out.
QString ExpandEnvironmentReferences(const QString& text);
