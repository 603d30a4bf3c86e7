// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Who runs this program where: the names that keep one user's instance, lock
// and hand-off socket apart from another's on the same machine.

// The login session: $XDG_SESSION_ID, else the login UID (the user's UID when
// the kernel keeps no login UID).
QString SessionId();
// $USER, else the login name of the process's user.
QString SessionUserName();
