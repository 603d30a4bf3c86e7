// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QFileInfo;
class QWidget;

// A file the program can start: one with the run bit, or a script by its ending
// (".sh", ".py", ".pl"), which the program starts through its interpreter.
bool IsProgramOrScript(const QFileInfo& file);

// Asks for a program, starting in the folder of current or else in the home
// folder, showing programs and scripts first ("Programme und Skripte") and all
// files on request. Empty when the user cancels.
QString ChooseProgram(QWidget* parent, const QString& current);
// Asks for a document of any kind, starting where ChooseProgram starts.
QString ChooseDocument(QWidget* parent, const QString& current);
