// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseAction.h"
#include "pim/PimItem.h"

/**
 * @brief Common base of the actions that open a new personal-information item
 * (note, journal entry, appointment, task) whose text can come from a template.
 */
class TActionOutlookBase : public TBaseAction
{
    Q_OBJECT
    Q_PROPERTY(QString Template READ Template WRITE SetTemplate)
    Q_PROPERTY(bool TemplateActive READ TemplateActive WRITE SetTemplateActive)

public:
    TActionOutlookBase();

    // Template file for the item's text, used as stored.
    KESTRUN_FIELD(QString, Template)
    // Fill the item's text from the template.
    KESTRUN_FIELD(bool, TemplateActive, true)

    // The parameter step of every item action.
    void ExecuteAction(TActionContext& context) override;

protected:
    // The trace titles of one kind of item action.
    struct TItemActionTitles
    {
        QAnyStringView Method;
        QAnyStringView Cancel;
        QAnyStringView Template;
        QAnyStringView Open;
    };
    // Resolves the parameters, fills the template, shows the new item in the item
    // window and, when the user saves it, writes it into the store.
    void ExecuteItemAction(TActionContext& context, TPimItemKind kind, const TItemActionTitles& titles);
};
