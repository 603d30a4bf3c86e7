// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

/**
 * What a second start of the program in the same session does with its
 * argument: it hands it to the softphone side through a local socket and ends.
 * This program only writes to the socket; whoever listens there decides what
 * the argument means.
 *
 * The message is always HandoffMessageSize bytes: byte 0 holds the length n of
 * the text, bytes 1 to n the argument without any "eventcontroller:" (the
 * prefix of the program's links) in UTF-8, the rest zeros.
 */
constexpr qsizetype HandoffMessageSize = 256;

QByteArray BuildHandoffMessage(const QString& argument);
// <user runtime folder>/kestrun-handoff-<session ID><user name>
QString HandoffSocketPath();
// One write of the whole message; false when nobody listens or the write fails.
bool SendHandoffMessage(const QString& socketPath, const QByteArray& message);
