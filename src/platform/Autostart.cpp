// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Autostart.h"

#include "platform/KestrunError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString EntryName = QStringLiteral("/autostart/kestrun-eventcontroller.desktop");

QString ConfigHome()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base;
}

// The entry for everyone that applies: the first of the configuration folders that has one.
QString SystemEntryPath()
{
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir) && QFileInfo::exists(dir + EntryName))
            return dir + EntryName;
    }
    return {};
}

// Whether the entry's file asks to start the program: the desktop entry's own
// "Hidden" and GNOME's switch both turn it off.
bool StartsProgram(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == u"[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inEntry || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if ((key == u"Hidden" && value == u"true") || (key == u"X-GNOME-Autostart-enabled" && value == u"false"))
            return false;
    }
    return true;
}

// The Exec key's quoting: the program's path may hold blanks or quotes.
QString QuotedForExec(const QString& path)
{
    QString quoted;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    // The desktop entry format escapes a backslash once more for the string value,
    // and "%" starts a field code.
    quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    quoted.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return u'"' + quoted + u'"';
}

void WriteEntry(const QString& content)
{
    const QString path = Autostart::UserEntryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw EKestrunError(QStringLiteral("Cannot create the folder of ") + path);
    QSaveFile file(path);
    const QByteArray bytes = content.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EKestrunError(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + file.errorString());
}

} // namespace

QString Autostart::UserEntryPath()
{
    return ConfigHome() + EntryName;
}

bool Autostart::Enabled()
{
    const QString own = UserEntryPath();
    if (QFileInfo::exists(own))
        return StartsProgram(own);
    const QString everyone = SystemEntryPath();
    return !everyone.isEmpty() && StartsProgram(everyone);
}

void Autostart::SetEnabled(bool enabled, const QString& programPath)
{
    if (enabled) {
        WriteEntry(QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Kestrun Event Controller for OrvixIt!\n"
                                  "Comment=Runs your rules on the calls of the OrvixIt! softphone\n"
                                  "Comment[de]=Führt Ihre Regeln bei den Anrufen des OrvixIt!-Softphones aus\n"
                                  "Icon=kestrun-eventcontroller\n"
                                  "Exec=") +
                   QuotedForExec(programPath) +
                   QStringLiteral("\n"
                                  "Terminal=false\n"
                                  "X-GNOME-Autostart-enabled=true\n"
                                  "X-KDE-autostart-phase=2\n"
                                  "X-LXQt-Need-Tray=true\n"));
        return;
    }
    if (!SystemEntryPath().isEmpty()) {
        WriteEntry(QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Kestrun Event Controller for OrvixIt!\n"
                                  "Exec=kestrun-eventcontroller\n"
                                  "Hidden=true\n"));
        return;
    }
    QFile own(UserEntryPath());
    if (own.exists() && !own.remove())
        throw EKestrunError(QStringLiteral("Cannot remove ") + own.fileName() + QStringLiteral(": ") +
                            own.errorString());
}
