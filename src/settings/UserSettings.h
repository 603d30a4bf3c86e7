// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/Color.h"

#include <QByteArray>
#include <QString>

/**
 * @brief The user's desktop-notification settings: start-up reads them from
 * "usersettings.xml" (LoadSettings), the settings dialog changes and writes
 * them, and each notification window takes them when it opens.
 */
struct TNotificationSettings
{
    // Zero-based index of the monitor that shows notifications.
    qint32 DesktopNotificationMonitor = 0;
    // Screen corner: 0 lower right, 1 lower left, 2 upper left, 3 upper right.
    qint32 DesktopNotificationPosition = 0;
    // The user's own colour; GetNotificationColor decides which colour a window takes.
    TColor DesktopNotificationColor = clBlack;
    // Opacity from 0 (invisible) to 255 (opaque).
    qint32 DesktopNotificationTransparencyValue = 0;
    bool DesktopNotificationIsWindowsColor = false;
    bool DesktopNotificationIsAccentColor = false;

    bool operator==(const TNotificationSettings&) const = default;
};

/**
 * Reads settings from a settings file into the given ones; an empty name means
 * DataPathUserSettingsFile(). Element names are matched in any case and the
 * root's name does not matter. A missing "monitor" or "position" reads as 0,
 * and so does a monitor outside 0 .. monitorCount - 1 or a position outside
 * 0 .. 3; an opacity is held to 0 .. 255. The other settings keep their values
 * when their element is missing.
 *
 * Returns false, changing nothing, when the file is missing, no XML, empty or
 * nested deeper than a settings file can be; each but a missing file is traced
 * as a warning with the file and the reason. Throws EKestrunError at the first
 * value that does not convert: the settings read before it keep their new
 * values, the others stay (LoadSettings uses none of them then). A file that
 * exists but could not be read whole is remembered (UnreadableFiles), so that
 * the next WriteSettingsXML keeps it aside instead of overwriting it.
 */
bool ReadSettingsXML(const QString& FileName, TNotificationSettings& settings, int monitorCount);
// With the desktop's monitor count.
bool ReadSettingsXML(const QString& FileName, TNotificationSettings& settings);
// The number of monitors of the desktop; 1 when no GUI application runs.
int MonitorCount();

// The settings file's document for the settings: the six settings and nothing else.
QByteArray SettingsXML(const TNotificationSettings& settings);

/**
 * Writes the settings to the file FileName names (an empty name means
 * DataPathUserSettingsFile(), a relative one lies in the data folder, so that
 * "usersettings.xml" is the settings file) as a new file: elements other than the six
 * settings are not kept. The old file is replaced only by a complete new one,
 * and an unreadable one is kept aside first (UnreadableFiles). Returns false
 * when the file cannot be written, leaving the old one in place; the cause is
 * traced and given in *error when error is not null.
 */
bool WriteSettingsXML(const QString& FileName, const TNotificationSettings& settings, QString* error = nullptr);
