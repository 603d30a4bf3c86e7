// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/ParameterOutlookAddressbook.h"

#include "parameters/ParameterKinds.h"

#include "model/OrvixLine.h"
#include "pim/ContactSearch.h"
#include "platform/BackgroundWait.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"

TParameterOutlookAddressbook::TParameterOutlookAddressbook()
{
    const TParameterKind& kind = ParameterKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TParameterOutlookAddressbook::GetParamResult(TActionContext& context)
{
    TraceMethod method(QStringLiteral("ParameterOutlookAddressbook::GetParamResult"));
    const std::shared_ptr<TOrvixLine>& line = context.Line();
    QString searchValue;
    if (FSearchOptionOrvix) {
        Trace::Message("ParameterOutlookAddressbook::GetParamResult:FSearchOption_Orvix");
        searchValue = GetOrvixParam(line.get(), FSearchOptionOrvixValue);
    }
    if (FSearchOptionUser)
        searchValue = line ? line->GetUserVariableResult(FSearchOptionUserValue) : QString();
    Trace::Value("ParameterOutlookAddressbook::GetParamResult:Result", searchValue);

    QString result;
    if (!line) {
        Trace::Message("ParameterOutlookAddressbook::GetParamResult:OrvixLine = nil -> Exit Function");
        return result;
    }
    // Reading the address book and searching it run on a worker while the program
    // goes on with other calls; the softphone converts the numbers on the main
    // thread, between its events, and only those of a changed address book.
    const std::optional<TContactItems> contacts = WaitInBackground<TContactItems>(
        [call = line, searchValue, field = FSearchField](const std::atomic<bool>& abandoned) {
            return SearchContact(searchValue, field, [&call, &abandoned](const QString& number) {
                const std::optional<QString> converted =
                    CallOnMainThread<QString>([call, number] { return call->CanonicalNumber(number); }, abandoned);
                if (!converted)
                    throw EKestrunError(QStringLiteral("The address-book lookup was ended by the program's end"));
                return *converted;
            });
        });
    if (!contacts) {
        Trace::Message("ParameterOutlookAddressbook::GetParamResult:Search ended, the program is shutting down");
        return result;
    }
    if (contacts->Count() > 0)
        result = GetAddressbookFieldFromParameter(contacts->Item(1), ParameterValue());
    Trace::Value("ParameterOutlookAddressbook::GetParamResult:Result", result);
    return result;
}

QString TParameterOutlookAddressbook::GetAddressbookFieldFromParameter(const TContactItem& contact,
                                                                       const QString& field)
{
    std::optional<TContactProperty> property = ContactPropertyFromName(field);
    if (field.size() == 1 && field[0] >= u'0' && field[0] <= u'9')
        property = TContactProperty(field[0].unicode() - u'0');
    if (!property) {
        Trace::Warning("ParameterOutlookAddressbook::GetAddressbookFieldFromParameter:Unknown contact field", field);
        return {};
    }
    return contact.Property(*property);
}
