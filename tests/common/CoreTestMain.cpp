// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestMain.h"

#include <QGuiApplication>

// Core code renders icons from SVG and takes colours from the palette, which
// need Qt Gui; it never shows a widget, so its tests do without QApplication.
int main(int argc, char** argv)
{
    return RunTests<QGuiApplication>(argc, argv);
}
