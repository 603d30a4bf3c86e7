// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;
class TBaseAction;
class TParameters;

// The caption of the definition dialog of the action's kind; empty for a kind
// that has none (the Outlook contact action).
QString ActionDefinitionCaption(const TBaseAction& action);

// Opens the dialog of the action's kind modally, owned by parent, on the action
// (a new one or a copy the caller hands back on OK), and returns its result;
// QDialog::Rejected when the kind has no dialog. model is the working copy the
// action belongs to: its parameters' dialogs edit copies made through it.
int ShowActionDefinitionForm(TBaseAction& action, TParameters& model, QWidget* parent);
