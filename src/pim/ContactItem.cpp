// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/ContactItem.h"

#include "pim/VCardReader.h"

#include <QStringList>
#include <QUrl>

#include <algorithm>

namespace {

const std::array<QStringView, ContactPropertyCount> PropertyNames = {
    u"FirstName",     u"LastName",      u"FullName",      u"CompanyName",         u"MobileTelephoneNumber",
    u"Email1Address", u"Email2Address", u"Email3Address", u"HomeTelephoneNumber", u"BusinessTelephoneNumber",
};

// Numbers of these kinds are no voice number of the person's home, office or mobile.
const QStringList OtherNumberTypes = {
    QStringLiteral("fax"),   QStringLiteral("pager"), QStringLiteral("car"),
    QStringLiteral("modem"), QStringLiteral("bbs"),
};

// The number of a TEL: its text, or the number of a "tel:" URI (version 4.0)
// without the URI's parameters.
QString TelephoneNumber(const TVCardProperty& tel)
{
    QString number = tel.Text().trimmed();
    if (number.startsWith(u"tel:", Qt::CaseInsensitive)) {
        number = QUrl::fromPercentEncoding(number.mid(4).toUtf8());
        number = number.left(number.indexOf(u';')).trimmed();
    }
    return number;
}

QString NameFromComponents(const QStringList& n)
{
    QStringList parts;
    // Prefix, given, additional, family, suffix: the order the name is spoken in.
    for (const int index : {3, 1, 2, 0, 4}) {
        const QString part = n.value(index).trimmed();
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.join(u' ');
}

} // namespace

QString ContactPropertyName(TContactProperty property)
{
    return PropertyNames[std::size_t(property)].toString();
}

std::optional<TContactProperty> ContactPropertyFromName(QStringView name)
{
    for (std::size_t index = 0; index < PropertyNames.size(); ++index) {
        if (PropertyNames[index] == name)
            return TContactProperty(index);
    }
    return std::nullopt;
}

bool IsTelephoneProperty(TContactProperty property)
{
    return property == TContactProperty::MobileTelephoneNumber || property == TContactProperty::HomeTelephoneNumber ||
        property == TContactProperty::BusinessTelephoneNumber;
}

TContactItem TContactItem::FromVCard(const TVCard& card)
{
    TContactItem contact;
    QStringList n;
    if (const TVCardProperty* name = card.First(u"N")) {
        n = name->Components();
        contact.SetProperty(TContactProperty::LastName, n.value(0).trimmed());
        contact.SetProperty(TContactProperty::FirstName, n.value(1).trimmed());
    }
    const TVCardProperty* fullName = card.First(u"FN");
    contact.SetProperty(TContactProperty::FullName, fullName ? fullName->Text().trimmed() : NameFromComponents(n));
    if (const TVCardProperty* organisation = card.First(u"ORG"))
        contact.SetProperty(TContactProperty::CompanyName, organisation->Components().value(0).trimmed());

    int emails = 0;
    QStringList untypedNumbers;
    for (const TVCardProperty& property : card.Properties) {
        if (property.Name == u"EMAIL" && emails < 3) {
            const QString address = property.Text().trimmed();
            if (!address.isEmpty())
                contact.SetProperty(TContactProperty(int(TContactProperty::Email1Address) + emails++), address);
        }
        if (property.Name != u"TEL")
            continue;
        const QString number = TelephoneNumber(property);
        const bool otherKind = std::any_of(property.Types.cbegin(), property.Types.cend(),
                                           [](const QString& type) { return OtherNumberTypes.contains(type); });
        if (number.isEmpty() || otherKind)
            continue;
        if (property.HasType(u"cell")) {
            contact.PlaceNumber(number, {TContactProperty::MobileTelephoneNumber});
            continue;
        }
        bool typed = false;
        for (const QString& type : property.Types) {
            const bool home = type == u"home";
            if (!home && type != u"work")
                continue;
            typed = true;
            if (contact.PlaceNumber(
                    number, {home ? TContactProperty::HomeTelephoneNumber : TContactProperty::BusinessTelephoneNumber}))
                break;
        }
        if (!typed)
            untypedNumbers.append(number);
    }
    for (const QString& number : untypedNumbers)
        contact.PlaceNumber(number, {TContactProperty::HomeTelephoneNumber, TContactProperty::BusinessTelephoneNumber});
    return contact;
}

bool TContactItem::PlaceNumber(const QString& number, std::initializer_list<TContactProperty> places)
{
    for (const TContactProperty place : places) {
        if (Property(place).isEmpty()) {
            SetProperty(place, number);
            return true;
        }
    }
    return false;
}
