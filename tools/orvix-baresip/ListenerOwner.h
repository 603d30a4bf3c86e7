// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

// Whether the process holds the socket that listens for TCP on 127.0.0.1:port (from /proc/net/tcp and the
// process's open files; only the user's own processes can be looked into). The bridge talks to its baresip
// only once this holds: whatever else answers on the port is not believed.
bool listensOn(qint64 pid, quint16 port);
