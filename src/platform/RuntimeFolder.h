// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * The user's private folder for what lives only while the user is logged in:
 * the instance lock, the hand-off socket and the diagnostic trace, which holds
 * callers' names and numbers. $XDG_RUNTIME_DIR when it is set (the session
 * makes it, mode 0700); else "kestrun-<uid>" in the temporary folder, made with
 * mode 0700. Throws EKestrunError when that folder belongs to someone else or
 * cannot be made private: another user could read or replace what is put there.
 */
QString UserRuntimePath();

// Makes the folder and every missing parent below an existing one with mode 0700,
// and gives the folder itself mode 0700. Throws EKestrunError when it cannot.
void CreatePrivateFolder(const QString& path);
