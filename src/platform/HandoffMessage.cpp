// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/HandoffMessage.h"

#include "platform/RuntimeFolder.h"
#include "platform/SessionIdentity.h"

#include <QFile>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr qsizetype MaxTextBytes = HandoffMessageSize - 1;

bool IsUtf8Continuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

QByteArray BuildHandoffMessage(const QString& argument)
{
    QString text = argument;
    text.remove(QStringLiteral("eventcontroller:"));
    QByteArray bytes = text.toUtf8();
    if (bytes.size() > MaxTextBytes) {
        // Back to the start of the character the cut falls into, so that the
        // reader never gets half a character.
        qsizetype cut = MaxTextBytes;
        while (cut > 0 && IsUtf8Continuation(bytes.at(cut)))
            --cut;
        bytes.truncate(cut);
    }
    QByteArray message(HandoffMessageSize, '\0');
    message[0] = static_cast<char>(bytes.size());
    std::memcpy(message.data() + 1, bytes.constData(), std::size_t(bytes.size()));
    return message;
}

QString HandoffSocketPath()
{
    return UserRuntimePath() + QStringLiteral("/kestrun-handoff-") + SessionId() + SessionUserName();
}

bool SendHandoffMessage(const QString& socketPath, const QByteArray& message)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    bool sent = false;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0)
        sent = ::send(socket, message.constData(), std::size_t(message.size()), MSG_NOSIGNAL) == message.size();
    ::close(socket);
    return sent;
}
