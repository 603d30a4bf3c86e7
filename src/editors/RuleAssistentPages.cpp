// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/RuleAssistentPages.h"

namespace {

using Page = TRuleAssistentPage;

// The page that asks for the numbers of the kind, or none for the kinds without numbers.
std::optional<Page> NumberPage(TCallOptionBase kind)
{
    switch (kind) {
    case cobIn:
        return Page::CallOptionInNumber;
    case cobOut:
        return Page::CallOptionOutNumber;
    case cobNotification:
        return Page::CallOptionNotificationNumber;
    case cobTransfer:
    case cobApplicationStart:
        break;
    }
    return std::nullopt;
}

} // namespace

TRuleAssistentPage NextPage(TRuleAssistentPage from, std::optional<TCallOptionBase> kind)
{
    switch (from) {
    case Page::Welcome:
        return Page::CallOptionBase;
    case Page::CallOptionBase:
        if (!kind)
            return from;
        if (*kind == cobIn || *kind == cobOut)
            return Page::CallInternExtern;
        return NumberPage(*kind).value_or(Page::ActionSequence);
    case Page::CallInternExtern:
        if (kind == cobIn)
            return Page::CallOptionIn;
        return kind == cobOut ? Page::CallOptionOut : from;
    case Page::CallOptionIn:
        return Page::CallOptionInNumber;
    case Page::CallOptionOut:
        return Page::CallOptionOutNumber;
    case Page::CallOptionInNumber:
    case Page::CallOptionOutNumber:
    case Page::CallOptionNotificationNumber:
        return Page::ActionSequence;
    case Page::ActionSequence:
    case Page::SaveRule:
        return Page::SaveRule;
    }
    return from;
}

TRuleAssistentPage PreviousPage(TRuleAssistentPage from, std::optional<TCallOptionBase> kind)
{
    switch (from) {
    case Page::Welcome:
    case Page::CallOptionBase:
        return Page::Welcome;
    case Page::CallInternExtern:
    case Page::CallOptionNotificationNumber:
        return Page::CallOptionBase;
    case Page::CallOptionIn:
    case Page::CallOptionOut:
        return Page::CallInternExtern;
    case Page::CallOptionInNumber:
        return Page::CallOptionIn;
    case Page::CallOptionOutNumber:
        return Page::CallOptionOut;
    case Page::ActionSequence:
        if (!kind)
            return Page::CallOptionBase;
        return NumberPage(*kind).value_or(Page::CallOptionBase);
    case Page::SaveRule:
        return Page::ActionSequence;
    }
    return from;
}
