// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Where the program keeps the user's files: $XDG_CONFIG_HOME (or ~/.config when it
// is unset or not absolute) + "/Kestrun/EventController for OrvixIt!". Read from the
// environment at each call, so a test that points XDG_CONFIG_HOME elsewhere never
// touches the real folder. The folder is created when missing.
QString UserDataPath();
// UserDataPath() + "/rules.xml": rules and action sequences.
QString DataPathRulesFile();
// UserDataPath() + "/usersettings.xml": the notification window settings.
QString DataPathUserSettingsFile();
