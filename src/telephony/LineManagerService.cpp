// SPDX-License-Identifier: GPL-3.0-or-later

#include "telephony/LineManagerService.h"

#include "telephony/DBusLineManagerService.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

LineManagerService* g_installed = nullptr;

} // namespace

LineManagerService& LineManagerService::Instance()
{
    if (g_installed)
        return *g_installed;
    // Owned by the application object, so that it goes before the bus connection does.
    static QPointer<DBusLineManagerService> sessionBus;
    if (!sessionBus) {
        sessionBus = new DBusLineManagerService;
        sessionBus->setParent(QCoreApplication::instance());
    }
    return *sessionBus;
}

void LineManagerService::SetInstance(LineManagerService* service)
{
    g_installed = service;
}
