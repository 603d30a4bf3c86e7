// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

// The host name of the PBX server when nothing names another: the directory
// server is looked for there, and the global template is its share
// "EventController" (mounted under /mnt/<host>).
constexpr QStringView DefaultPbxServerHost = u"pbxserver";
