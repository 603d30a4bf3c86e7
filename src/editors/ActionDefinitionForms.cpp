// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/ActionDefinitionForms.h"

#include "actions/ActionKinds.h"
#include "editors/ActionPropertyForm.h"
#include "model/BaseAction.h"

QString ActionDefinitionCaption(const TBaseAction& action)
{
    const TActionKind* kind = FindActionKind(action);
    return kind && kind->Dialog != TActionDialog::None ? kind->DialogCaption : QString();
}

int ShowActionDefinitionForm(TBaseAction& action, TParameters& model, QWidget* parent)
{
    const TActionKind* kind = FindActionKind(action);
    if (!kind)
        return QDialog::Rejected;
    switch (kind->Dialog) {
    case TActionDialog::None:
        return QDialog::Rejected;
    case TActionDialog::Properties: {
        TActionPropertyForm form(action, model, kind->DialogCaption, parent);
        return form.exec();
    }
    }
    return QDialog::Rejected;
}
