// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class TBaseParameter;

// Lists of the parameter dialogs whose entries show a caption and carry a value.

// Adds the entry unless the list has one with the same caption.
void AddChoice(QComboBox* list, const QString& caption, const QString& value);
// Selects the first entry carrying the value; false when none does (the selection stays).
bool SelectChoice(QComboBox* list, const QString& value);
// The value of what the list shows: the entry's value when the text is an
// entry's caption, else the text as typed (an editable list), trimmed.
QString ChosenValue(const QComboBox* list);

// The names of the user variables known to the parameter's line object, each once, sorted.
QStringList KnownUserVariables(const TBaseParameter& parameter);
