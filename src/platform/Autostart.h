// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * @brief Whether the program starts when the user logs in, by the desktop's
 * autostart entries.
 *
 * The package installs one entry for every user ($XDG_CONFIG_DIRS, by default
 * /etc/xdg, + "/autostart/kestrun-eventcontroller.desktop"); an entry of the same
 * name in the user's own folder ($XDG_CONFIG_HOME/autostart) replaces it. Switching
 * on writes the user's entry; switching off removes it, or, while the entry for
 * everyone exists, writes one that hides it.
 */
namespace Autostart {

// The user's own entry.
QString UserEntryPath();
bool Enabled();
// programPath: the program the entry starts. Throws EKestrunError when the entry
// cannot be written or removed.
void SetEnabled(bool enabled, const QString& programPath);

} // namespace Autostart
