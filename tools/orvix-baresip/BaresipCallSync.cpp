// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipCallSync.h"

#include "BaresipControl.h"

#include <QRegularExpression>

BaresipCallSync::BaresipCallSync(BaresipControl& control, QObject* parent)
    : QObject(parent)
    , m_control(control)
{
}

QList<int> BaresipCallSync::parseCallList(const QString& text)
{
    // "  [line 1]  0:00:12   ESTABLISHED          sip:0891234@192.0.2.7"
    static const QRegularExpression line(QStringLiteral("\\[line (\\d+)\\]"));
    QList<int> lines;
    for (auto it = line.globalMatch(text); it.hasNext();)
        lines.append(it.next().captured(1).toInt());
    return lines;
}

std::optional<BaresipEvent> BaresipCallSync::parseCallStatus(const QString& text)
{
    // "===== Call debug (INCOMING) =====", " peer_uri:  Anna Berg <sip:...>", " af=AF_INET id=1-7@h",
    // " direction: Incoming"
    static const QRegularExpression state(QStringLiteral("Call debug \\((\\w+)\\)"));
    static const QRegularExpression id(QStringLiteral("^\\s*af=\\S*\\s+id=(\\S+)\\s*$"),
                                       QRegularExpression::MultilineOption);
    static const QRegularExpression peer(QStringLiteral("^\\s*peer_uri:\\s*(.*)$"),
                                         QRegularExpression::MultilineOption);
    static const QRegularExpression direction(QStringLiteral("^\\s*direction:\\s*(\\w+)"),
                                              QRegularExpression::MultilineOption);
    const QRegularExpressionMatch idMatch = id.match(text);
    if (!idMatch.hasMatch())
        return std::nullopt;
    BaresipEvent call;
    call.callId = idMatch.captured(1);
    call.direction = direction.match(text).captured(1).toLower();
    const QString peerText = peer.match(text).captured(1).trimmed();
    const qsizetype open = peerText.lastIndexOf(u'<');
    call.peerUri = open >= 0 ? peerText.mid(open + 1).section(u'>', 0, 0) : peerText;
    call.peerName = open > 0 ? peerText.left(open).trimmed() : QString();
    const QString stateName = state.match(text).captured(1);
    if (stateName == QLatin1String("INCOMING"))
        call.type = QStringLiteral("CALL_INCOMING");
    else if (stateName == QLatin1String("RINGING"))
        call.type = QStringLiteral("CALL_RINGING");
    else if (stateName == QLatin1String("EARLY"))
        call.type = QStringLiteral("CALL_PROGRESS");
    else if (stateName == QLatin1String("ESTABLISHED"))
        call.type = QStringLiteral("CALL_ESTABLISHED");
    return call;
}

void BaresipCallSync::run()
{
    const int round = ++m_round;
    m_lines.clear();
    m_calls.clear();
    m_control.send(QStringLiteral("listcalls"), {}, [this, round](bool ok, const QString& data) {
        if (round != m_round)
            return;
        if (!ok) {
            emit failed(data);
            return;
        }
        m_lines = parseCallList(data);
        askNext(round);
    });
}

void BaresipCallSync::askNext(int round)
{
    if (m_lines.isEmpty()) {
        emit callsFound(m_calls);
        return;
    }
    m_control.sendOnLine(m_lines.takeFirst(), QStringLiteral("callstat"), {},
                         [this, round](bool ok, const QString& data) {
                             if (round != m_round)
                                 return;
                             // A call that ended since "listcalls" is simply not there any more.
                             if (ok) {
                                 if (const std::optional<BaresipEvent> call = parseCallStatus(data))
                                     m_calls.push_back(*call);
                             }
                             askNext(round);
                         });
}
