// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/RuleDescription.h"

#include "model/ActionSequence.h"
#include "model/Rule.h"

namespace {

const QString CRLF = QStringLiteral("\r\n");

// A line of the description when the set holds the member or its "all" member.
template <typename TSet, typename TMember>
QString LineIf(const TSet& set, TMember member, TMember all, const QString& line)
{
    return set.Contains(member) || set.Contains(all) ? line + CRLF : QString();
}

QString InternExternLines(const TRule& rule)
{
    const bool intern = rule.CallOptionInEx().Contains(coIntern);
    const bool extern_ = rule.CallOptionInEx().Contains(coExtern);
    if (intern && extern_)
        return QStringLiteral("   internen und externen Rufen ") + CRLF;
    if (intern)
        return QStringLiteral("   internen Rufen ") + CRLF;
    if (extern_)
        return QStringLiteral("   externen Rufen ") + CRLF;
    return {};
}

QString IncomingText(const TRule& rule)
{
    const TCallOptionInSet& in = rule.CallOptionIn();
    const TCallOptionInNumberSet& number = rule.CallOptionInNumber();
    return QStringLiteral("Diese Regel wird bei eingehenden") + CRLF + InternExternLines(rule) +
        QStringLiteral("in der Situation:") + CRLF +
        LineIf(in, coiIncomingCall, coiAll, QStringLiteral("   [Klingeln] ")) +
        LineIf(in, coiCallPickUp, coiAll, QStringLiteral("   [Rufannahme] ")) +
        LineIf(in, coiCallTerminated, coiAll, QStringLiteral("   [Rufende] ")) +
        QStringLiteral("unter der Bedingung:") + CRLF +
        LineIf(number, coinFromNumber, coinAll,
               QStringLiteral("   Ruf von Rufnummer: [") + rule.FromNumberIn() + QStringLiteral("] ")) +
        LineIf(number, coinToExtension, coinAll,
               QStringLiteral("   Ruf an Durchwahl: [") + rule.ToExtensionNumberIn() + QStringLiteral("] ")) +
        QStringLiteral("ausgeführt");
}

QString OutgoingText(const TRule& rule)
{
    const TCallOptionOutSet& out = rule.CallOptionOut();
    const TCallOptionOutNumberSet& number = rule.CallOptionOutNumber();
    return QStringLiteral("Diese Regel wird bei ausgehenden") + CRLF + InternExternLines(rule) +
        QStringLiteral("in der Situation:") + CRLF +
        LineIf(out, cooDial, cooAll, QStringLiteral("   [Rufnummer wurde gewählt] ")) +
        LineIf(out, cooRemoteRing, cooAll, QStringLiteral("   [Gegenstelle klingelt] ")) +
        LineIf(out, cooRemoteBusy, cooAll, QStringLiteral("   [Gegenstelle besetzt] ")) +
        LineIf(out, cooRemoteWaiting, cooAll, QStringLiteral("   [Gegenstelle wird angeklopft] ")) +
        LineIf(out, cooRemoteConnected, cooAll, QStringLiteral("   [mit Gegenstelle verbunden] ")) +
        LineIf(out, cooTerminated, cooAll, QStringLiteral("   [Rufende] ")) + QStringLiteral("unter der Bedingung:") +
        CRLF +
        LineIf(number, coonFromExtension, coonAll,
               QStringLiteral("   Ruf von Durchwahl: [") + rule.FromExtensionNumberOut() + QStringLiteral("] ")) +
        LineIf(number, coonToNumber, coonAll,
               QStringLiteral("   Ruf an Rufnummer: [") + rule.ToNumberOut() + QStringLiteral("] ")) +
        QStringLiteral("ausgeführt");
}

QString NotificationText(const TRule& rule)
{
    const TCallOptionNotificationNumberSet& number = rule.CallOptionNotificationNumber();
    QString text = QStringLiteral("Die Regel wird bei signalisierten Rufen") + CRLF;
    if (number.Contains(cosFromNumber) || number.Contains(cosAll))
        text += QStringLiteral("  von Rufnummer: [") + rule.NotificationNumberIn() + QStringLiteral("] ");
    if (number.Contains(cosToNumber) || number.Contains(cosAll))
        text += QStringLiteral("  an Nebenstelle: [") + rule.NotificationNumberTo() + QStringLiteral("] ");
    return text + CRLF + QStringLiteral("ausgeführt");
}

} // namespace

QString RuleDescription(const TRule& rule)
{
    // Each kind that holds replaces the text before it: a rule with several kinds
    // is described by the last of them.
    const TCallOptionBaseSet& base = rule.CallOptionBase();
    QString text;
    if (base.Contains(cobIn))
        text = IncomingText(rule);
    if (base.Contains(cobOut))
        text = OutgoingText(rule);
    if (base.Contains(cobNotification))
        text = NotificationText(rule);
    if (base.Contains(cobTransfer))
        text = QStringLiteral("Die Regel wird bei transferierten Rufen ausgeführt");
    if (base.Contains(cobApplicationStart))
        text = QStringLiteral("Diese Regel wird bei Programmstart ausgeführt");
    if (const auto* sequence = rule.Item<TActionSequence>(0); sequence && !sequence->Name().isEmpty())
        text += QStringLiteral(" und started die Aktionsfolge") + CRLF + QStringLiteral("   ") + sequence->Name();
    return text;
}
