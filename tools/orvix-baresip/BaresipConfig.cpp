#include "BaresipConfig.h"

#include "BridgeError.h"
#include "SipAddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QSaveFile>

namespace {

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
    return line;
}

QString BaresipConfig::configText() const
{
    QString text = QStringLiteral("# Written by orvix-baresip at each start; edits are overwritten.\n"
                                  "poll_method epoll\n"
                                  "sip_listen %1\n"
                                  "module_path %2\n"
                                  "module g711.so\n")
                       .arg(sipListen, modulePath);
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
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    writeFile(QDir(folder).filePath(QStringLiteral("config")), configText());
    writeFile(QDir(folder).filePath(QStringLiteral("accounts")), accountLine() + u'\n');
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
