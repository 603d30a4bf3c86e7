// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/TemplateParameterStep.h"

#include "engine/TemplateEditor_Core.h"
#include "engine/TemplatePreviewPage.h"
#include "model/BaseParameter.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"
#include "widgets/MessageBox.h"

#include <QDir>

namespace {

QString Title()
{
    return QStringLiteral("Template");
}

bool ConfirmRemoval(QWidget* parent, const QList<TBaseParameter*>& toRemove)
{
    QString names;
    for (const TTemplateParameterEntry& entry : TemplateParameterEntries(toRemove))
        names += QStringLiteral("- ") + entry.Caption + u'\n';
    return TMessageBox::Question(
               parent, Title(),
               QStringLiteral("Die folgenden Parameter kommen im Template nicht mehr vor und werden entfernt:\n\n") +
                   names + QStringLiteral("\nFortfahren?"),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

} // namespace

bool BringParametersInStep(QWidget* parent, const QString& templatePath, TBaseAction& action,
                           QList<TBaseParameter*>& usedParameters)
{
    try {
        const QList<TBaseParameter*> toRemove = SubActionsToClean(templatePath, usedParameters);
        if (!toRemove.isEmpty() && ConfirmRemoval(parent, toRemove))
            RemoveSubActions(action, usedParameters, toRemove);
        else if (!toRemove.isEmpty())
            Trace::Value("TemplateEditor::BringParametersInStep:Parameters kept", qint64(toRemove.size()));
        CreateTemplateSubActions(templatePath, action, usedParameters);
        return true;
    } catch (const EKestrunError& error) {
        Trace::Exception("TemplateEditor::BringParametersInStep", error);
        TMessageBox::Warning(parent, Title(),
                             QStringLiteral("Die Parameter können nicht mit dem Template %1 abgeglichen werden.\n\n")
                                     .arg(QDir::toNativeSeparators(templatePath)) +
                                 error.Message());
        return false;
    }
}
