// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ChoiceLists.h"

#include "model/BaseParameter.h"
#include "model/OrvixLine.h"

#include <QComboBox>

void AddChoice(QComboBox* list, const QString& caption, const QString& value)
{
    if (list->findText(caption, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
        list->addItem(caption, value);
}

bool SelectChoice(QComboBox* list, const QString& value)
{
    const int index = list->findData(value);
    if (index < 0)
        return false;
    list->setCurrentIndex(index);
    return true;
}

QString ChosenValue(const QComboBox* list)
{
    const QString text = list->currentText();
    const int index = list->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index >= 0)
        return list->itemData(index).toString();
    return text.trimmed();
}

QStringList KnownUserVariables(const TBaseParameter& parameter)
{
    const std::shared_ptr<TOrvixLine> line = parameter.OrvixLine();
    if (!line)
        return {};
    QStringList names = line->TemporaryVariables().keys();
    names.removeDuplicates();
    names.sort(Qt::CaseInsensitive);
    return names;
}
