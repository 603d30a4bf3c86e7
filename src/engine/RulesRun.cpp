// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/RulesRun.h"

#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"
#include "trace/Trace.h"

void RunRules(const TParameters& model, TOrvixLine& line, const QString& currentLineState)
{
    const TBaseList& rules = model.Rules();
    for (int i = 0; i < rules.Count(); ++i) {
        TRule* rule = rules.Item<TRule>(i);
        if (!rule || !line.CheckRule(*rule, currentLineState))
            continue;
        Trace::Object("OrvixLine::ExecuteRules:Executing rule", rule);
        line.NoteRuleFired(rule->Name());
        auto snapshot = std::make_shared<TOrvixLine>();
        snapshot->Assign(&line);
        rule->ExecuteRule(snapshot);
    }
}
