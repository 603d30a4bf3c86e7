// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/ContactSearch.h"

#include "pim/OutlookApplication.h"
#include "trace/Trace.h"

#include <optional>

QString BuildRestrictString(const QString& field, const QString& value)
{
    return u'[' + field + QStringLiteral("] = \"") + value + u'"';
}

QString GetAddressbookFieldNameFromIndex(int index)
{
    if (index < 0 || index >= ContactPropertyCount)
        return {};
    return ContactPropertyName(TContactProperty(index));
}

TContactItems SearchContact(const QString& searchValue, const QString& field, const TCanonicalNumber& canonicalNumber)
{
    TraceMethod method(QStringLiteral("SearchContact"));
    Trace::Value("SearchValue", searchValue);
    Trace::Value("ParamValue", field);
    // The value is searched as it is tested: a number sent with blanks around it is still found.
    const QString value = searchValue.trimmed();
    if (value.isEmpty())
        return {};

    TOutlookApplication application = GetOutlookApplication();
    application.Connect(canonicalNumber);
    const TContactIndex& folder = application.GetDefaultContactsFolder();
    Trace::Message(QString::number(folder.Items().Count()) + QStringLiteral(" Outlook Contacts found"));

    // The search value in canonical form, made once for all telephone fields searched.
    std::optional<QString> wantedCanonical;
    const auto restrict = [&](const QString& fieldName) {
        const QString restriction = BuildRestrictString(fieldName, value);
        Trace::Value("string_SearchString", restriction);
        Trace::Message("Perform search");
        const std::optional<TContactProperty> property = ContactPropertyFromName(fieldName);
        if (canonicalNumber && !wantedCanonical && property && IsTelephoneProperty(*property))
            wantedCanonical = canonicalNumber(value);
        TContactItems found = folder.Restrict(restriction, wantedCanonical.value_or(QString()));
        Trace::Message(QString::number(found.Count()) + QStringLiteral(" contacts found"));
        return found;
    };

    TContactItems result;
    if (field == u"All") {
        Trace::Value("boolean_AllFields", true);
        for (int index = 0; result.Count() == 0; ++index) {
            const QString fieldName = GetAddressbookFieldNameFromIndex(index);
            if (fieldName.isEmpty())
                break;
            result = restrict(fieldName);
        }
    } else {
        result = restrict(field);
    }
    application.Disconnect();
    return result;
}
