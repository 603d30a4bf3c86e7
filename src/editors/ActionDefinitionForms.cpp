// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/ActionDefinitionForms.h"

#include "actions/ActionBalloonMessage.h"
#include "actions/ActionDDEMessage.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionKinds.h"
#include "actions/ActionOutlookBase.h"
#include "actions/ActionSendEMail.h"
#include "actions/ActionStopper.h"
#include "editors/definitions/AktionBallonMessageForm.h"
#include "editors/definitions/AktionDDEForm.h"
#include "editors/definitions/AktionDef_OutlookForm.h"
#include "editors/definitions/AktionHTMLTemplateForm.h"
#include "editors/definitions/AktionOrvixForm.h"
#include "editors/definitions/AktionProgDocForm.h"
#include "editors/definitions/AktionSendEMailForm.h"
#include "editors/definitions/AktionStopperForm.h"

QString ActionDefinitionCaption(const TBaseAction& action)
{
    const TActionKind* kind = FindActionKind(action);
    return kind && kind->Dialog != TActionDialog::None ? kind->DialogCaption : QString();
}

std::unique_ptr<TActionDefinitionForm> MakeActionDefinitionForm(TBaseAction& action, const TActionFormContext& context,
                                                                QWidget* parent)
{
    const TActionKind* kind = FindActionKind(action);
    if (!kind)
        return nullptr;
    std::unique_ptr<TActionDefinitionForm> form;
    switch (kind->Dialog) {
    case TActionDialog::None:
        return nullptr;
    case TActionDialog::BalloonMessage:
        form = std::make_unique<TAktionBallonMessageForm>(static_cast<TActionBalloonMessage&>(action), context, parent);
        break;
    case TActionDialog::HtmlMessage:
        form = std::make_unique<TAktionHTMLTemplateForm>(static_cast<TActionHTMLMessage&>(action), context, parent);
        break;
    case TActionDialog::ProgramOrDocument:
        form = std::make_unique<TAktionProgDocForm>(action, context, parent);
        break;
    case TActionDialog::CommandChannel:
        form = std::make_unique<TAktionDDEForm>(static_cast<TActionDDEMessage&>(action), context, parent);
        break;
    case TActionDialog::Stopper:
        form = std::make_unique<TAktionStopperForm>(static_cast<TActionStopper&>(action), parent);
        break;
    case TActionDialog::CaptionOnly:
    case TActionDialog::Dtmf:
        form = std::make_unique<TAktionOrvixForm>(action, parent);
        break;
    case TActionDialog::PimItem:
        form = std::make_unique<TAktionDef_OutlookForm>(static_cast<TActionOutlookBase&>(action), context, parent);
        break;
    case TActionDialog::EMail:
        form = std::make_unique<TAktionSendEMailForm>(static_cast<TActionSendEMail&>(action), context, parent);
        break;
    }
    // A dialog that names its action in its title keeps it.
    if (form && form->windowTitle().isEmpty())
        form->setWindowTitle(kind->DialogCaption);
    return form;
}

int ShowActionDefinitionForm(TBaseAction& action, const TActionFormContext& context, QWidget* parent)
{
    const std::unique_ptr<TActionDefinitionForm> form = MakeActionDefinitionForm(action, context, parent);
    return form ? form->exec() : int(QDialog::Rejected);
}
