// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

/**
 * The folder that holds the program's data file fileName (LDAPFields.xml):
 * beside the program, where a build tree or a program unpacked into one folder
 * keeps it, else the installed data folder, share/kestrun-eventcontroller of
 * the prefix whose bin/ holds the program. When neither holds the file, the
 * folder beside the program, so that what reports it missing names that place.
 */
QString FindResourceFolder(const QString& programFolder, QStringView fileName);
