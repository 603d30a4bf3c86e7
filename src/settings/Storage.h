// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/UserSettings.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <optional>
#include <utility>

/**
 * Where the global template comes from, as "UseGlobalTemplate" stores it. The
 * numbers follow the settings dialog's check box in the order off, on,
 * undetermined (Qt::CheckState orders its states off, undetermined, on).
 */
enum TGlobalTemplateMode : quint8
{
    gtNone = 0,
    gtFromPath = 1,
    gtFromDefaultFolder = 2
};

/**
 * @brief The storage options: whether a global template (a folder, usually on a
 * server, that an administrator fills) is copied into the user's data folder at
 * every start, and from where. Read at start-up by GetStorageOptions and
 * afterwards changed only by the settings dialog; a change takes effect at the next start.
 */
struct TStorageOptions
{
    TGlobalTemplateMode UseGlobalTemplate = gtFromDefaultFolder;
    QString GlobalTemplatePath;

    bool operator==(const TStorageOptions&) const = default;
};

// Under the current user's hive and the local machine's; see TRegistryKey.
constexpr QStringView StorageRegistryKey = u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt\\Storage";

/**
 * The folder of the global template when none is configured: the share
 * "EventController" of the default PBX server host, mounted at
 * /mnt/<host>/EventController (/mnt/pbxserver/EventController).
 */
QString DefaultGlobalTemplatePath();

/**
 * Reads "UseGlobalTemplate" and "GlobalTemplatePath" from the Storage key, the
 * current user's value before the machine-wide one, and deletes the obsolete
 * machine-wide value "Type". A file Qt cannot parse whole is traced as a warning
 * and read as far as it goes. A mode other than 0, 1 or 2 leaves mode 2; a mode
 * that is no number is traced and stops the reading there. Mode 2, or no path,
 * means DefaultGlobalTemplatePath().
 */
TStorageOptions GetStorageOptions();

/**
 * Writes "UseGlobalTemplate" and "GlobalTemplatePath" (as given, not made
 * absolute) to the current user's Storage key, both in one rewrite of its file,
 * which is replaced whole or not at all. Throws EKestrunError naming the file
 * when it cannot be written; it then holds what it held before.
 */
void WriteStorageOptions(const TStorageOptions& options);

// The storage options' values as the current user's key holds them, a missing one
// empty: what a save that fails after writing them puts back.
using TStoredStorageOptions = QList<std::pair<QString, std::optional<QVariant>>>;
TStoredStorageOptions ReadStoredStorageOptions();
// Puts such values back (deleting the empty ones); false when the file cannot take them.
bool RestoreStorageOptions(const TStoredStorageOptions& stored);

// Whether the folder holds a file whose name ends in ".xml" in any case: only
// then does the global template's copy change the data folder.
bool TemplateHoldsXmlFiles(const QString& folder);

/**
 * Start-up after GetStorageOptions: creates the data folder, copies the global
 * template into it unless the mode is 0, then reads the user settings. Without
 * a settings file, and with one that cannot be read whole (no XML, nested too
 * deep, a value that does not convert), the result is the desktop's colour and
 * opacity 230, never half-read values. Failures are traced; an unreadable file
 * stays in place until the next WriteSettingsXML keeps it aside.
 */
TNotificationSettings LoadSettings(const TStorageOptions& options);

/**
 * When globalTemplatePath is a folder holding at least one ".xml" file: deletes
 * every file of the data folder except "servers.xml", "rules.xml" and
 * "usersettings.xml" (exact spelling; subfolders stay, unreadable files kept
 * aside among them), tracing each as a warning, then copies every file of the
 * template into it, those of the subfolder named after the user instead of the
 * common ones of the same name. Each copy replaces its target whole or not at
 * all. A missing or unreachable template changes nothing, nor does one that is
 * the data folder itself (after links and relative paths are resolved).
 */
void CopyGlobalTemplateToLocalStorage(const QString& globalTemplatePath);
