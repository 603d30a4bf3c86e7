// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// "major.minor" of the program, as the About box shows it.
inline QString GetAppVersion()
{
    return QStringLiteral(KESTRUN_VERSION);
}

// "major.minor.release.build", as the trace records it at start.
inline QString GetAppVersionLabel()
{
    return QStringLiteral(KESTRUN_VERSION_LABEL);
}
