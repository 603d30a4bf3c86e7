// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/DisplayPlatform.h"

#include <QtGlobal>

TDisplayEnvironment TDisplayEnvironment::OfProcess()
{
    return {.qtPlatform = qgetenv("QT_QPA_PLATFORM"),
            .waylandDisplay = qgetenv("WAYLAND_DISPLAY"),
            .sessionType = qgetenv("XDG_SESSION_TYPE")};
}

QByteArray ChooseDisplayPlatform(const TDisplayEnvironment& environment)
{
    // Qt reads an empty variable as an unset one, and so do we.
    if (!environment.qtPlatform.isEmpty())
        return {};
    const bool wayland =
        !environment.waylandDisplay.isEmpty() || environment.sessionType.compare("wayland", Qt::CaseInsensitive) == 0;
    // Qt tries the platforms in turn: without an X server the native one still starts the program.
    return wayland ? QByteArrayLiteral("xcb;wayland") : QByteArray();
}

void ApplyDisplayPlatform()
{
    const QByteArray platform = ChooseDisplayPlatform(TDisplayEnvironment::OfProcess());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}
