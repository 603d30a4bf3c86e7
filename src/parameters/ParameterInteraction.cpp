// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/ParameterInteraction.h"

#include "parameters/ParameterKinds.h"

#include "frontend/UserInterface.h"
#include "trace/Trace.h"

#include <QRegularExpression>

TParameterInteraction::TParameterInteraction()
{
    const TParameterKind& kind = ParameterKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

TParameterInteraction::~TParameterInteraction() = default;

QStringList TParameterInteraction::ItemLines() const
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = FItems.split(lineBreak);
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

void TParameterInteraction::GetForm()
{
    m_extForm.reset();
    if (TUserInterface* ui = UserInterface())
        m_extForm = ui->CreateInteractionForm();
}

QString TParameterInteraction::GetParamResult(TActionContext& context)
{
    QString result;
    GetForm();
    if (m_extForm) {
        m_extForm->SetInteractionParam(this);
        // The modal loop lets other calls' rules run; should one of them ask this
        // parameter again, its GetForm must not free the window still being shown.
        std::unique_ptr<TParameterInteractionForm> shown = std::move(m_extForm);
        if (shown->ShowModal())
            result = shown->Answer();
        else
            context.SetCancelAction(true);
        if (!m_extForm)
            m_extForm = std::move(shown);
    }
    Trace::Value("ParameterInteraction::GetParamResult:Result", result);
    return result;
}
