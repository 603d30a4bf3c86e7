// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/HtmlWebProfile.h"

#include "actions/ui/HtmlWebSecurity.h"

#include "platform/RuntimeFolder.h"
#include "trace/Trace.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QWebEngineProfile>

QString HtmlWebProfileFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
        QStringLiteral("/Kestrun/EventController for OrvixIt!/WebEngine");
}

namespace {

bool MadePrivate(const QString& folder)
{
    try {
        CreatePrivateFolder(folder);
        return true;
    } catch (const std::exception& error) {
        Trace::Exception("HtmlMessageForm::Profile", error);
        return false;
    }
}

} // namespace

QWebEngineProfile& HtmlWebProfile()
{
    static QWebEngineProfile* profile = nullptr;
    if (profile)
        return *profile;
    const QString folder = HtmlWebProfileFolder();
    // Without a private folder the profile keeps nothing on disk rather than
    // leaving cookies where others can read them.
    const bool onDisk = MadePrivate(folder);
    profile = new QWebEngineProfile(onDisk ? QStringLiteral("HtmlMessage") : QString(), QCoreApplication::instance());
    if (onDisk) {
        profile->setPersistentStoragePath(folder + QStringLiteral("/Storage"));
        profile->setCachePath(folder + QStringLiteral("/Cache"));
    } else {
        Trace::Warning("HtmlMessageForm::Profile:Folder not private, nothing is kept on disk", folder);
    }
    ApplyHtmlWebSecurity(*profile);
    QObject::connect(profile, &QObject::destroyed, [] { profile = nullptr; });
    return *profile;
}
