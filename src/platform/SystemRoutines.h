// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Small questions to the system that parameters and message windows ask.

// The value of a variable of the process environment (names are case-sensitive
// on Linux); empty when it is not set or set to nothing.
QString GetEnvVarValue(const QString& name);

// The local IPv4 address in dotted decimal: the first address other than
// loopback that the host name resolves to, else the first such address of an
// interface that is up and running; empty when there is none.
QString GetLocalIpAddress();

// "COMPUTERNAME", else the host name.
QString GetComputerName();
// "USERNAME", else "USER", else the login name of the process's user.
QString GetUserName();
// "OS", else the name of the distribution (or of the kernel when that is unknown).
QString GetOperatingSystemName();

// Whole-text matches, case-sensitive; the empty text matches neither. They
// decide whether a value in a message window is a mail link or a dial link.
bool IsEMailAddress(const QString& text);
bool IsTelephoneNumber(const QString& text);
