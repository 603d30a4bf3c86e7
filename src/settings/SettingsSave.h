// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/Storage.h"
#include "settings/UserSettings.h"

/**
 * Saves what the settings dialog edits as one step: the notification settings to
 * the settings file (DataPathUserSettingsFile) and the storage options to the
 * current user's Storage key. Either both files hold the new values afterwards
 * or both hold what they held before: the settings file is written out beside
 * its place first, the storage options next, and the settings file is put in
 * place last; when that fails, the storage options are written back.
 *
 * Throws EKestrunError with the cause (naming the file) when the save failed.
 * The caller puts the values in force only when it returns.
 */
void SaveSettings(const TStorageOptions& options, const TNotificationSettings& settings);
