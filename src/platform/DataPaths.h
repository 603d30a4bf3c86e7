// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Where the program keeps the user's files: $XDG_CONFIG_HOME (or ~/.config when it
// is unset or not absolute) + "/Kestrun/EventController for OrvixIt!". Read from the
// environment at each call, so a test that points XDG_CONFIG_HOME elsewhere never
// touches the real folder. The folder is created when missing.
QString UserDataPath();
// Where the program keeps data that are not configuration (the personal-information
// store, the call history): $XDG_DATA_HOME (or ~/.local/share when it is unset or not
// absolute) + "/kestrun". Read at each call; not created here.
QString UserDataHome();
// UserDataPath() + "/rules.xml": rules and action sequences.
QString DataPathRulesFile();
// UserDataPath() + "/usersettings.xml": the notification window settings.
QString DataPathUserSettingsFile();
