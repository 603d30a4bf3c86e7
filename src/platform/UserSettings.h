#pragma once

#include "platform/Color.h"

#include <QString>

// The user's desktop-notification settings, one set for the process: start-up
// reads them from "usersettings.xml" (LoadSettings), the settings dialog changes
// and writes them, and each notification window reads them when it opens.

// Zero-based index of the monitor that shows notifications.
extern qint32 DesktopNotificationMonitor;
// Screen corner: 0 lower right, 1 lower left, 2 upper left, 3 upper right.
extern qint32 DesktopNotificationPosition;
// The user's own colour; GetNotificationColor decides which colour a window takes.
extern TColor DesktopNotificationColor;
// Opacity from 0 (invisible) to 255 (opaque).
extern qint32 DesktopNotificationTransparencyValue;
extern bool DesktopNotificationIsWindowsColor;
extern bool DesktopNotificationIsAccentColor;

/**
 * Reads the settings from a settings file; an empty name means
 * DataPathUserSettingsFile(). Element names are matched in any case and the
 * root's name does not matter. A missing "monitor" or "position" reads as 0,
 * a monitor beyond the last of monitorCount as 0; the other settings keep their
 * values when their element is missing.
 *
 * Returns false, changing nothing, when the file is missing, no XML or empty.
 * Throws EKestrunError at the first value that does not convert: the settings
 * read before it keep their new values, the others stay. A file that exists but
 * could not be read whole is remembered (UnreadableFiles), so that the next
 * WriteSettingsXML keeps it aside instead of overwriting it.
 */
bool ReadSettingsXML(const QString& FileName, int monitorCount);
// With the desktop's monitor count.
bool ReadSettingsXML(const QString& FileName);
// The number of monitors of the desktop; 1 when no GUI application runs.
int MonitorCount();

/**
 * Writes the settings to DataPathUserSettingsFile(), whatever FileName names
 * (the dialog passes the document's name only), as a new file: elements other
 * than the six settings are not kept. The old file is replaced only by a
 * complete new one. Returns true; throws EKestrunError when the file cannot be
 * written, leaving the old one in place.
 */
bool WriteSettingsXML(const QString& FileName);
