// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/LineManagerService.h"
#include "telephony/Wildcard.h"
#include "trace/Trace.h"

using namespace Qt::Literals::StringLiterals;

namespace {

bool Is(const QString& state, QLatin1StringView name)
{
    return state == name;
}

// Where a rule has both number filters of one direction, both must match:
// "calls from these numbers to this extension".
template <typename E>
bool NumberFilters(const TSet<E>& filters, E all, E first, E second, bool firstMatches, bool secondMatches)
{
    bool result = true;
    if (filters.Contains(first) || filters.Contains(all))
        result = result && firstMatches;
    if (filters.Contains(second) || filters.Contains(all))
        result = result && secondMatches;
    return result;
}

bool OriginAllowed(const TRule& rule, int isInternalCall)
{
    if (isInternalCall == 1)
        return rule.CallOptionInEx().Contains(coIntern);
    if (isInternalCall == 0)
        return rule.CallOptionInEx().Contains(coExtern);
    return true;
}

} // namespace

bool TOrvixLine::CheckRule(const TRule& rule, const QString& currentLineState) const
{
    // Every rule is checked at every state of every call: the dump is written once while the rule stays as it is.
    Trace::ObjectOnce("OrvixLine::CheckRule:Checking rule", &rule, rule.Name(), u" (unchanged)");
    Trace::Value("OrvixLine::CheckRule:Rule name", rule.Name());
    bool result = false;
    if (rule.Active()) {
        const TCallOptionBaseSet& base = rule.CallOptionBase();
        if (base.Contains(cobOut) && FIsOutgoingCall == 1 && !FIsNotificationCall)
            result = CheckOutgoingRule(rule, currentLineState);
        if (base.Contains(cobIn) && FIsOutgoingCall == 0 && !FIsNotificationCall)
            result = CheckIncomingRule(rule, currentLineState);
        if (base.Contains(cobNotification) && FIsNotificationCall)
            result = CheckNotificationRule(rule);
        if (base.Contains(cobTransfer) && FIsTransferredCall)
            result = true;
        // Program-start rules run once at start, never for a call.
        if (base.Contains(cobApplicationStart))
            result = false;
    }
    Trace::Value("OrvixLine::CheckRule:Result", result);
    return result;
}

bool TOrvixLine::CheckIncomingRule(const TRule& rule, const QString& state) const
{
    if (FCallId == -1 || FCallId == 0)
        return false;
    const TCallOptionInSet& situations = rule.CallOptionIn();
    TCallOptionIn situation;
    if (Is(state, "LSRinging"_L1))
        situation = coiIncomingCall;
    else if (Is(state, "LSActive"_L1))
        situation = coiCallPickUp;
    else if (Is(state, "LSTerminated"_L1))
        situation = coiCallTerminated;
    else
        return false;
    if (!OriginAllowed(rule, FIsInternalCall))
        return false;
    if (!situations.Contains(situation) && !situations.Contains(coiAll))
        return false;
    return NumberFilters(rule.CallOptionInNumber(), coinAll, coinFromNumber, coinToExtension,
                         CheckSemicolon(rule.FromNumberIn(), FCallerNumber),
                         CheckSemicolon(rule.ToExtensionNumberIn(), FIncomingExtension));
}

bool TOrvixLine::CheckOutgoingRule(const TRule& rule, const QString& state) const
{
    // A terminated outgoing call matches without a call id: it may end before it got one.
    if (!Is(state, "LSTerminated"_L1) && (FCallId == -1 || FCallId == 0))
        return false;
    TCallOptionOut situation;
    if (Is(state, "LSDialing"_L1))
        situation = cooDial;
    else if (Is(state, "LSAlerting"_L1))
        situation = cooRemoteRing;
    else if (Is(state, "LSBusy"_L1))
        situation = cooRemoteBusy;
    else if (Is(state, "LSKnocking"_L1))
        situation = cooRemoteWaiting;
    else if (Is(state, "LSActive"_L1))
        situation = cooRemoteConnected;
    else if (Is(state, "LSTerminated"_L1))
        situation = cooTerminated;
    else
        return false;
    if (!OriginAllowed(rule, FIsInternalCall))
        return false;
    const TCallOptionOutSet& situations = rule.CallOptionOut();
    if (!situations.Contains(situation) && !situations.Contains(cooAll))
        return false;
    return NumberFilters(rule.CallOptionOutNumber(), coonAll, coonToNumber, coonFromExtension,
                         CheckSemicolon(rule.ToNumberOut(), FCalledNumber),
                         CheckSemicolon(rule.FromExtensionNumberOut(), FOutgoingExtension));
}

bool TOrvixLine::CheckNotificationRule(const TRule& rule) const
{
    if (FNotificationCallerName.isEmpty() && FNotificationCallerNumber.isEmpty() && FNotificationCalledName.isEmpty() &&
        FNotificationCalledExtension.isEmpty() && FNotificationCallRedirectedFromName.isEmpty() &&
        FNotificationCallRedirectedFromNumber.isEmpty()) {
        Trace::Message("OrvixLine::CheckNotificationRule:No notification values found, exiting...");
        return false;
    }
    return NumberFilters(rule.CallOptionNotificationNumber(), cosAll, cosFromNumber, cosToNumber,
                         CheckSemicolon(rule.NotificationNumberIn(), FNotificationCallerNumber),
                         CheckSemicolon(rule.NotificationNumberTo(), FNotificationCalledExtension));
}

QString TOrvixLine::ConvertNumber(const QString& number) const
{
    Trace::Value("OrvixLine::ConvertNumber:Number before conversion", number);
    QString converted = CanonicalNumber(number);
    Trace::Value("OrvixLine::ConvertNumber:Number after conversion", converted);
    return converted;
}

QString TOrvixLine::CanonicalNumber(const QString& number) const
{
    // A snapshot has no line manager of its own; the process-wide one converts as well.
    QString converted = number;
    if (m_clientLineMgr && m_clientLineMgr->IsConnected())
        converted = m_clientLineMgr->DispConvertNumber(2, number);
    else if (LineManagerService::Instance().IsAvailable())
        converted = LineManagerService::Instance().ConvertNumber(2, number);
    static const QString separators = QStringLiteral("()/:;,. ");
    converted.removeIf([](QChar c) { return separators.contains(c); });
    return converted;
}
