// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/HistoryCsv.h"

#include <QLocale>
#include <QStringList>

namespace {

QString Time(const QDateTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) : QString();
}

} // namespace

QString CsvField(const QString& value)
{
    QString text = value;
    bool quote = false;
    if (!text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front())) {
        text.prepend(u'\'');
        quote = true;
    }
    if (text.contains(u'"') || text.contains(u',') || text.contains(u'\n') || text.contains(u'\r'))
        quote = true;
    if (!quote)
        return text;
    text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

QByteArray HistoryCsv(const std::vector<TCallRecord>& calls)
{
    QString out = QStringLiteral("\uFEFF");
    const QStringList header {
        QStringLiteral("Beginn"),     QStringLiteral("Richtung"),       QStringLiteral("Nummer"),
        QStringLiteral("Name"),       QStringLiteral("Anzeigename"),    QStringLiteral("Firma"),
        QStringLiteral("Angenommen"), QStringLiteral("Ende"),           QStringLiteral("Dauer (s)"),
        QStringLiteral("Verpasst"),   QStringLiteral("Weitergeleitet"), QStringLiteral("Leitung"),
        QStringLiteral("Regeln")};
    out += header.join(u',') + QStringLiteral("\r\n");
    for (const TCallRecord& call : calls) {
        // Numbers of our own go in as they are; every text passes CsvField.
        const QStringList fields {
            Time(call.started),
            call.direction == TCallDirection::Outgoing ? QStringLiteral("ausgehend") : QStringLiteral("eingehend"),
            CsvField(call.number),
            CsvField(call.callerName),
            CsvField(call.displayName),
            CsvField(call.company),
            Time(call.answered),
            Time(call.ended),
            QString::number(call.durationSeconds),
            call.missed ? QStringLiteral("ja") : QStringLiteral("nein"),
            call.transferred ? QStringLiteral("ja") : QStringLiteral("nein"),
            QString::number(call.lineIndex),
            CsvField(call.firedRules.join(QStringLiteral(", "))),
        };
        out += fields.join(u',') + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}
