// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "WaitUntil.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

namespace linesim_test {

// Generous: sanitizer builds on a shared machine start processes slowly.
inline constexpr int Deadline = 30000;

inline bool waitUntil(const std::function<bool()>& condition, int milliseconds = Deadline)
{
    return ::WaitUntil(condition, milliseconds);
}

// ctest runs test programs side by side on one session bus, so each simulator gets a name of its own.
inline QString uniqueServiceName(const char* purpose)
{
    static int counter = 0;
    return QStringLiteral("com.orvixit.Softphone.test.%1.p%2n%3")
        .arg(QLatin1String(purpose))
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

} // namespace linesim_test
