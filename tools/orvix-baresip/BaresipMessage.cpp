// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipMessage.h"

#include "BridgeError.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

BaresipMessage parseBaresipMessage(const QByteArray& frame)
{
    // baresip copies a peer's bytes into its JSON as they came; a display name in Latin-1 would make
    // the whole frame invalid and its call vanish. Invalid sequences become U+FFFD instead.
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QString::fromUtf8(frame).toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        throw BridgeError(QStringLiteral("not JSON: %1 at offset %2").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        throw BridgeError(QStringLiteral("not a JSON object"));
    const QJsonObject object = document.object();
    if (object.value(QLatin1String("event")).toBool()) {
        return BaresipEvent {.type = object.value(QLatin1String("type")).toString(),
                             .callId = object.value(QLatin1String("id")).toString(),
                             .direction = object.value(QLatin1String("direction")).toString(),
                             .peerUri = object.value(QLatin1String("peeruri")).toString(),
                             .peerName = object.value(QLatin1String("peerdisplayname")).toString(),
                             .accountAor = object.value(QLatin1String("accountaor")).toString(),
                             .param = object.value(QLatin1String("param")).toString()};
    }
    if (object.value(QLatin1String("response")).toBool()) {
        return BaresipResponse {.ok = object.value(QLatin1String("ok")).toBool(),
                                .data = object.value(QLatin1String("data")).toString(),
                                .token = object.value(QLatin1String("token")).toString()};
    }
    throw BridgeError(QStringLiteral("neither an event nor a response"));
}

QByteArray encodeBaresipCommand(const QString& command, const QString& params, const QString& token)
{
    QJsonObject object {{QLatin1String("command"), command}};
    if (!params.isEmpty())
        object.insert(QLatin1String("params"), params);
    if (!token.isEmpty())
        object.insert(QLatin1String("token"), token);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
