// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ActionDefinitionForm.h"

class TActionOutlookBase;

namespace Ui {
class TAktionDef_OutlookForm;
}

/**
 * @brief The dialog of the four personal-information items (note, journal
 * entry, task, appointment): the caption, the template of the item's text and
 * the parameters whose values fill it.
 */
class TAktionDef_OutlookForm : public TActionDefinitionForm
{
    Q_OBJECT

public:
    TAktionDef_OutlookForm(TActionOutlookBase& action, const TActionFormContext& context, QWidget* parent = nullptr);
    ~TAktionDef_OutlookForm() override;

protected:
    QList<TFieldProblem> Problems() const override;
    void WriteFields() override;

private:
    TActionOutlookBase& m_item;
    std::unique_ptr<Ui::TAktionDef_OutlookForm> ui;
};
