#include "model/BaseParameter.h"

#include "model/Guid.h"
#include "model/IconList.h"

TBaseParameter::TBaseParameter()
    : m_id(NewGuidString())
{
}

void TBaseParameter::SetID(const QString& id)
{
    if (!id.isEmpty())
        m_id = id;
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
