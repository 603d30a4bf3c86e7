// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>

// Makes a locale the program's default (what QLocale() and so the regional
// formats read) for the lifetime of the object.
class ScopedLocale
{
public:
    explicit ScopedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(QLocale::system()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    static QLocale German() { return QLocale(QLocale::German, QLocale::Germany); }
    static QLocale UnitedStates() { return QLocale(QLocale::English, QLocale::UnitedStates); }
};
