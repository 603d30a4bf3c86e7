// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipConfig.h"

#include "BridgeError.h"
#include "SipAddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QSaveFile>

#include <algorithm>

namespace {

const QLatin1String Header("# Written by orvix-baresip at each start; edits are overwritten.\n");
const QLatin1String ConfigName("config");
const QLatin1String AccountsName("accounts");

// The folder is the bridge's when it holds nothing but what the bridge writes (its baresip's log
// included), and the configuration there carries the bridge's header.
void checkFolderIsOurs(const QString& folder)
{
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (entries.isEmpty())
        return;
    const QString refusal = QStringLiteral("the folder %1 holds files orvix-baresip did not write (%2); "
                                           "give an empty or new folder with --folder");
    const auto ours = [](const QString& entry) {
        return entry == ConfigName || entry == AccountsName || entry == QLatin1String(BaresipConfig::LogName);
    };
    QFile config(dir.filePath(ConfigName));
    if (!std::all_of(entries.begin(), entries.end(), ours) || !config.open(QIODevice::ReadOnly) ||
        config.read(Header.size()) != QByteArray(Header.data(), Header.size()))
        throw BridgeError(refusal.arg(folder, entries.join(QLatin1String(", "))));
}

void writeFile(const QString& path, const QString& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || !file.commit()) {
        throw BridgeError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
}

} // namespace

QString BaresipConfig::accountAddress() const
{
    const QString trimmed = account.trimmed();
    if (trimmed.startsWith(u'<'))
        return trimmed.mid(1).section(u'>', 0, 0);
    return trimmed;
}

QString BaresipConfig::accountLine() const
{
    QString line = account.trimmed();
    if (!line.startsWith(u'<')) {
        line = u'<' + line + u'>';
        // A local address has no registrar to register with.
        const QHostAddress host(SipAddress::parse(accountAddress()).host);
        if (host.isLoopback())
            line += QLatin1String(";regint=0");
    }
    if (!line.contains(QLatin1String(";answermode=")))
        line += QLatin1String(";answermode=manual");
    if (!password.isEmpty())
        line += QLatin1String(";auth_pass=") + password;
    return line;
}

QString BaresipConfig::configText() const
{
    QString text = Header +
        QStringLiteral("poll_method epoll\n"
                       "sip_listen %1\n"
                       "module_path %2\n"
                       "call_max_calls %3\n"
                       "module g711.so\n")
            .arg(sipListen, modulePath)
            .arg(maxCalls);
    const QString audioModule = audio.section(u',', 0, 0).trimmed();
    if (!audioModule.isEmpty())
        text += QStringLiteral("module %1.so\n").arg(audioModule);
    text += QStringLiteral("module_app account.so\n"
                           "module_app menu.so\n"
                           "module_app ctrl_tcp.so\n"
                           "ctrl_tcp_listen 127.0.0.1:%1\n")
                .arg(ctrlPort);
    for (const char* key : {"audio_player", "audio_source", "audio_alert"})
        text += QLatin1String(key) + u' ' + audio.trimmed() + u'\n';
    return text;
}

void BaresipConfig::write(const QString& folder) const
{
    if (!QDir().mkpath(folder))
        throw BridgeError(QStringLiteral("cannot create the folder %1").arg(folder));
    checkFolderIsOurs(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    writeFile(QDir(folder).filePath(ConfigName), configText());
    writeFile(QDir(folder).filePath(AccountsName), accountLine() + u'\n');
}

QString BaresipConfig::findModulePath()
{
    for (const char* candidate :
         {"/usr/lib/baresip/modules", "/usr/local/lib/baresip/modules", "/usr/lib/x86_64-linux-gnu/baresip/modules",
          "/usr/lib/aarch64-linux-gnu/baresip/modules"}) {
        if (QFileInfo::exists(QDir(QLatin1String(candidate)).filePath(QStringLiteral("ctrl_tcp.so"))))
            return QLatin1String(candidate);
    }
    throw BridgeError(QStringLiteral("cannot find baresip's modules (ctrl_tcp.so); is baresip-core installed?"));
}
