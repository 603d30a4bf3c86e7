// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWebEngineProfile;

/**
 * @brief The browser profile of the HTML message windows: one per program.
 *
 * Pages may set cookies and fill a cache, and a page behind basic authentication
 * keeps its session in them, so they live in a folder only the user can read
 * (mode 0700) under the user's cache folder, never in the shared temporary folder
 * where another user could read them or create the folder first. Made on first use
 * and destroyed with the application object; every page that uses it must be gone
 * by then (the windows are closed at shutdown).
 */
QWebEngineProfile& HtmlWebProfile();

// $XDG_CACHE_HOME (or ~/.cache) + "/Kestrun/EventController for OrvixIt!/WebEngine",
// read from the environment at each call.
QString HtmlWebProfileFolder();
