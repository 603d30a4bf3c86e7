// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ParameterForms.h"

#include "editors/definitions/ParamDefInteraktionForm.h"
#include "editors/definitions/ParameterMultiForm.h"
#include "editors/definitions/ParameterSystemForm.h"
#include "editors/definitions/ParameterUserForm.h"
#include "parameters/ParameterInteraction.h"
#include "parameters/ParameterKinds.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"

int ShowParameterForm(TBaseParameter& parameter, const TParameterFormContext& context, QWidget* parent)
{
    const TParameterKind* kind = FindParameterKind(parameter);
    if (!kind)
        return QDialog::Rejected;
    switch (kind->Dialog) {
    case TParameterDialog::Multi:
        return TParameterMultiForm(parameter, context, parent).exec();
    case TParameterDialog::User:
        return TParameterUserForm(static_cast<TParameterUser&>(parameter), parent).exec();
    case TParameterDialog::System:
        return TParameterSystemForm(static_cast<TParameterSystem&>(parameter), context, parent).exec();
    case TParameterDialog::Interaction:
        return TParamDef_InteraktionForm(static_cast<TParameterInteraction&>(parameter), parent).exec();
    }
    return QDialog::Rejected;
}
