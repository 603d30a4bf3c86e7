// SPDX-License-Identifier: GPL-3.0-or-later

#include "rulesfile/BlockedNumbers.h"

#include "actions/ActionOrvixEndCall.h"
#include "model/ActionSequence.h"
#include "model/IconList.h"
#include "model/Rule.h"
#include "platform/KestrunError.h"
#include "rulesfile/Parameters.h"
#include "telephony/Wildcard.h"
#include "trace/Trace.h"

namespace {

template <typename T>
T* FindByName(const TBaseList& list, const QString& name)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (T* item = list.Item<T>(i); item && item->Name() == name)
            return item;
    }
    return nullptr;
}

TActionSequence* EndCallSequence(TParameters& model)
{
    if (auto* sequence = FindByName<TActionSequence>(model.ActionSequences(), BlockedNumbers::RuleName))
        return sequence;
    auto* sequence = new TActionSequence;
    sequence->SetName(BlockedNumbers::RuleName);
    sequence->SetIconIndex(IconList::Instance().IndexOf(u"block"));
    sequence->AddNewItem(new TActionOrvixEndCall);
    model.ActionSequences().AddNewItem(sequence);
    return sequence;
}

TRule* BlockingRule(TParameters& model)
{
    if (auto* rule = FindByName<TRule>(model.Rules(), BlockedNumbers::RuleName))
        return rule;
    auto* rule = new TRule;
    rule->SetName(BlockedNumbers::RuleName);
    rule->SetActive(true);
    rule->SetCallOptionBase({cobIn});
    rule->SetCallOptionInEx({coIntern, coExtern});
    rule->SetCallOptionIn({coiIncomingCall});
    rule->SetCallOptionInNumber({coinFromNumber});
    rule->AddNewItem(EndCallSequence(model));
    QList<TBaseObject*> rules {rule};
    for (int i = 0; i < model.Rules().Count(); ++i)
        rules.append(model.Rules().GetObject(i));
    model.Rules().SetMainList(rules);
    Trace::Message("Main::BlockNumber:Rule created");
    return rule;
}

} // namespace

bool BlockedNumbers::Block(TParameters& model, const QString& number)
{
    const QString pattern = number.trimmed();
    if (!IsLiteralPattern(pattern))
        throw EKestrunError(QStringLiteral("\"%1\" kann nicht gesperrt werden.").arg(number));
    TRule* rule = BlockingRule(model);
    QStringList numbers = rule->FromNumberIn().split(u';', Qt::SkipEmptyParts);
    if (numbers.contains(pattern))
        return false;
    numbers.append(pattern);
    rule->SetFromNumberIn(numbers.join(u';'));
    Trace::Value("Main::BlockNumber:Number blocked", pattern);
    return true;
}
