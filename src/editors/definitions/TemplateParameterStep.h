// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

class QWidget;
class TBaseAction;
class TBaseParameter;

// Brings the action's parameters in step with its template once the template was
// chosen or saved. Parameters whose tag the template no longer holds are removed
// only when the user agrees to a question naming them; then a parameter is added
// for every tag that no parameter has. usedParameters is the dialog's list of the
// action's parameters: the action and the list change alike, and the caller shows
// the list again. Removed parameters are deleted before this returns.
// False, after a message, when the template cannot be read: nothing changed then.
bool BringParametersInStep(QWidget* parent, const QString& templatePath, TBaseAction& action,
                           QList<TBaseParameter*>& usedParameters);
