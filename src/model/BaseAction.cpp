// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/BaseAction.h"

#include "model/BaseParameter.h"
#include "model/IconList.h"

TBaseAction::TBaseAction() = default;

// The result list only refers to the parameters, which the list part frees.
TBaseAction::~TBaseAction() = default;

QString TBaseAction::GetDescription() const
{
    return FCaption;
}

TBaseParameter* TBaseAction::Parameter(int index) const
{
    return Item<TBaseParameter>(index);
}

bool TBaseAction::CanExecuteProvider(const TOrvixLine& /*line*/) const
{
    return true;
}

void TBaseAction::SetCaptionAndIcon(const QString& caption, QStringView iconName)
{
    SetCaption(caption);
    SetIconIndex(IconList::Instance().IndexOf(iconName));
}
