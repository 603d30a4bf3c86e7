// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/**
 * Prepares the browser engine behind the HTML message window. It must run before
 * the application object exists: the engine shares its OpenGL contexts with the
 * widgets only when the application is created with that attribute, and reads its
 * sandbox switch when it starts.
 */
void PrepareHtmlWebEngine();
