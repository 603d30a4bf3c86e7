// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ActionDefinitionForm.h"

#include <QString>

// The caption of the definition dialog of the action's kind; empty for a kind
// that has none (the Outlook contact action).
QString ActionDefinitionCaption(const TBaseAction& action);

// Opens the dialog of the action's kind modally, owned by parent, on the action
// (a new one or a copy the caller adopts on OK), and returns its result;
// QDialog::Rejected when the kind has no dialog.
int ShowActionDefinitionForm(TBaseAction& action, const TActionFormContext& context, QWidget* parent);

// The dialog of the action's kind, not yet shown; null when the kind has none.
std::unique_ptr<TActionDefinitionForm> MakeActionDefinitionForm(TBaseAction& action, const TActionFormContext& context,
                                                                QWidget* parent);
