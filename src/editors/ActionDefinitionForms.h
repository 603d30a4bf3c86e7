#pragma once

#include <QString>

class QWidget;
class TBaseAction;

// The caption of the definition dialog of the action's class; empty for a class
// that has none (the Outlook contact action).
QString ActionDefinitionCaption(const TBaseAction& action);

// Opens the action's definition dialog modally, owned by parent, and returns its
// result; QDialog::Rejected when the action's class has no dialog.
int ShowActionDefinitionForm(TBaseAction& action, QWidget* parent);
