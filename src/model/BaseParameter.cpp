// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/BaseParameter.h"

#include "model/DateTime.h"
#include "model/IconList.h"
#include "model/OrvixLine.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QLatin1StringView>

namespace {

using TRenderCallValue = QString (*)(const TOrvixLine& line, const TRegionalFormats& formats);

struct TCallValue
{
    QLatin1StringView Name;
    TRenderCallValue Render;
};

template <const QString& (TOrvixLine::*Field)() const>
QString AsText(const TOrvixLine& line, const TRegionalFormats&)
{
    return (line.*Field)();
}

template <const int& (TOrvixLine::*Field)() const>
QString AsNumber(const TOrvixLine& line, const TRegionalFormats&)
{
    return QString::number((line.*Field)());
}

template <const TDateTime& (TOrvixLine::*Field)() const>
QString AsDateTime(const TOrvixLine& line, const TRegionalFormats& formats)
{
    return DateTimeToStr((line.*Field)(), formats);
}

template <const TDateTime& (TOrvixLine::*Field)() const>
QString AsTime(const TOrvixLine& line, const TRegionalFormats& formats)
{
    return TimeToStr((line.*Field)(), formats);
}

template <const TDateTime& (TOrvixLine::*Field)() const>
QString AsDate(const TOrvixLine& line, const TRegionalFormats& formats)
{
    return DateToStr((line.*Field)(), formats);
}

// The names are what rules files store; the calling extension of an outgoing
// call is the line's outgoing extension.
const TCallValue CallValues[] = {
    {QLatin1StringView("orvixCallID"), AsNumber<&TOrvixLine::CallId>},
    {QLatin1StringView("orvixCallerName"), AsText<&TOrvixLine::CallerName>},
    {QLatin1StringView("orvixCallerNumber"), AsText<&TOrvixLine::CallerNumber>},
    {QLatin1StringView("orvixCalledExtension"), AsText<&TOrvixLine::CalledExtension>},
    {QLatin1StringView("orvixRedirectedFromName"), AsText<&TOrvixLine::RedirectedFromName>},
    {QLatin1StringView("orvixRedirectedFromNumber"), AsText<&TOrvixLine::RedirectedFromNumber>},
    {QLatin1StringView("orvixCallingExtension"), AsText<&TOrvixLine::OutgoingExtension>},
    {QLatin1StringView("orvixCalledNumber"), AsText<&TOrvixLine::CalledNumber>},
    {QLatin1StringView("orvixConnectionStartDateTime"), AsDateTime<&TOrvixLine::ConnectionStartDateTime>},
    {QLatin1StringView("orvixConnectionFinishedDateTime"), AsDateTime<&TOrvixLine::ConnectionFinishedDateTime>},
    {QLatin1StringView("orvixConnectionDurationTime"), AsTime<&TOrvixLine::ConnectionDurationTime>},
    {QLatin1StringView("orvixConnectionStartTime"), AsTime<&TOrvixLine::ConnectionStartDateTime>},
    {QLatin1StringView("orvixConnectionFinishedTime"), AsTime<&TOrvixLine::ConnectionFinishedDateTime>},
    {QLatin1StringView("orvixConnectionStartDate"), AsDate<&TOrvixLine::ConnectionStartDateTime>},
    {QLatin1StringView("orvixConnectionFinishedDate"), AsDate<&TOrvixLine::ConnectionFinishedDateTime>},
    {QLatin1StringView("orvixNotificationCallerName"), AsText<&TOrvixLine::NotificationCallerName>},
    {QLatin1StringView("orvixNotificationCallerNumber"), AsText<&TOrvixLine::NotificationCallerNumber>},
    {QLatin1StringView("orvixNotificationCalledName"), AsText<&TOrvixLine::NotificationCalledName>},
    {QLatin1StringView("orvixNotificationCalledExtension"), AsText<&TOrvixLine::NotificationCalledExtension>},
    {QLatin1StringView("orvixNotificationCallRedirectedFromName"),
     AsText<&TOrvixLine::NotificationCallRedirectedFromName>},
    {QLatin1StringView("orvixNotificationCallRedirectedFromNumber"),
     AsText<&TOrvixLine::NotificationCallRedirectedFromNumber>},
};

} // namespace

TBaseParameter::TBaseParameter() = default;

void TBaseParameter::SetID(const QString& id)
{
    if (id.isEmpty())
        return;
    m_id.Set(id);
    MarkChanged();
}

QString TBaseParameter::GetDescription() const
{
    return FCaption;
}

QString TBaseParameter::GetParamResult(TActionContext&)
{
    return {};
}

void TBaseParameter::SetCaptionAndIcon(const QString& caption, QStringView iconName)
{
    SetCaption(caption);
    SetIconIndex(IconList::Instance().IndexOf(iconName));
}

QString TBaseParameter::GetOrvixParam(const TOrvixLine* line, const QString& name) const
{
    Trace::Value("BaseParameter::GetOrvixParam:OrvixParamValue", name);
    QString result;
    try {
        for (const TCallValue& value : CallValues) {
            if (name.compare(value.Name, Qt::CaseInsensitive) != 0)
                continue;
            if (!line)
                throw EKestrunError(QStringLiteral("There is no line object to read \"%1\" from.").arg(name));
            result = value.Render(*line, TRegionalFormats::Current());
            break;
        }
    } catch (const std::exception& error) {
        Trace::Exception("BaseParameter::GetOrvixParam", error);
    }
    Trace::Value("BaseParameter::GetOrvixParam:Result", result);
    return result;
}
