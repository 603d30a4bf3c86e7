// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/CallOptions.h"

#include <optional>

// The rule wizard's pages, in the order the page control holds them.
enum class TRuleAssistentPage
{
    Welcome,
    CallOptionBase,
    CallInternExtern,
    CallOptionIn,
    CallOptionOut,
    CallOptionInNumber,
    CallOptionOutNumber,
    CallOptionNotificationNumber,
    ActionSequence,
    SaveRule
};

// Where "Weiter>" leads from a page for the kind of rule chosen (none: not yet
// chosen). The pages a kind does not use are skipped; the last page and a
// kind-dependent page without a kind lead nowhere but to themselves.
TRuleAssistentPage NextPage(TRuleAssistentPage from, std::optional<TCallOptionBase> kind);
// Where "<Zurück" leads: the same way backwards. The welcome page leads to itself.
TRuleAssistentPage PreviousPage(TRuleAssistentPage from, std::optional<TCallOptionBase> kind);
