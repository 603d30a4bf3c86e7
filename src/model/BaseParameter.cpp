#include "model/BaseParameter.h"

#include "model/IconList.h"

TBaseParameter::TBaseParameter() = default;

void TBaseParameter::SetID(const QString& id)
{
    if (!id.isEmpty())
        m_id.Set(id);
}

QString TBaseParameter::GetDescription() const
{
    return FCaption;
}

QString TBaseParameter::GetParamResult()
{
    FCancelAction = false;
    return FParameterResult;
}

void TBaseParameter::SetCaptionAndIcon(const QString& caption, QStringView iconName)
{
    FCaption = caption;
    FIconIndex = IconList::Instance().IndexOf(iconName);
}
