// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/ParameterVelquist.h"

#include "parameters/ParameterKinds.h"

#include "model/OrvixLine.h"
#include "parameters/Velquist.h"
#include "parameters/VelquistResult.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"

TParameterVelquist::TParameterVelquist()
{
    const TParameterKind& kind = ParameterKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TParameterVelquist::GetParamResult(TActionContext& context)
{
    const std::shared_ptr<TOrvixLine>& line = context.Line();
    if (!line)
        throw EKestrunError(QStringLiteral("The directory lookup has no call to look up"));

    QString searchValue;
    QString result;
    if (FSearchOptionOrvix) {
        Trace::Value("ParameterVelquist::GetParamResult:Get Orvix parameter", FSearchOptionOrvixValue);
        searchValue = GetOrvixParam(line.get(), FSearchOptionOrvixValue);
        Trace::Value("ParameterVelquist::GetParamResult:Resolved Orvix parameter", searchValue);
    }
    if (FSearchOptionUser) {
        Trace::Value("ParameterVelquist::GetParamResult:Get variable value", FSearchOptionUserValue);
        searchValue = line->GetUserVariableResult(FSearchOptionUserValue);
        Trace::Value("ParameterVelquist::GetParamResult:Resolved variable result", searchValue);
    }
    searchValue = searchValue.trimmed();

    if (searchValue.isEmpty()) {
        Trace::Message("ParameterVelquist::GetParamResult:No search value, aborting search...");
    } else {
        // Only the exact lower-case word converts: "SearchNumber" is sent as typed.
        if (IsCatalogueNumberField(FSearchField) || FSearchField == u"searchnumber")
            searchValue = line->ConvertNumber(searchValue);
        const TVelquistDictionary fields =
            TVelquistResult().GetResult(line->CallId(), searchValue, FSearchField, FSearchBase);
        for (auto field = fields.cbegin(); field != fields.cend(); ++field) {
            Trace::Value("ParameterVelquist::GetParamResult:Result Field: ", field.key() + u'=' + field.value());
            if (field.key() == ParameterValue())
                result = field.value();
            if (field.key().startsWith(u"custom0", Qt::CaseInsensitive) ||
                field.key().startsWith(u"custom1", Qt::CaseInsensitive))
                line->SetUserVariable(field.key(), field.value());
        }
    }

    if (result.isEmpty() && CancelOnNoResult())
        context.SetCancelAction(true);
    Trace::Value("ParameterVelquist::GetParamResult:Result", result);
    return result;
}

bool TParameterVelquist::IsCatalogueNumberField(const QString& field)
{
    const std::shared_ptr<TVelquist> velquist = TVelquist::InUse();
    return velquist && velquist->IsNumberField(field);
}
