// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

namespace BridgeBus {
inline constexpr const char* Path = "/com/orvixit/Softphone/Bridge";
inline constexpr const char* Interface = "com.orvixit.Softphone.Bridge";
} // namespace BridgeBus

/**
 * @brief The bridge's own object on the bus: lets "orvix-baresip quit" stop a running bridge.
 */
class BridgeQuitObject : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.orvixit.Softphone.Bridge")

public:
    using QObject::QObject;

public slots:
    Q_SCRIPTABLE void Quit() { emit quitRequested(); }

signals:
    void quitRequested();
};
