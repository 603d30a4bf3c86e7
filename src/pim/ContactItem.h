// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <initializer_list>
#include <optional>

struct TVCard;

// The properties of a contact that lookups search and return, in the order the
// address-book parameter numbers them ("2" is the full name).
enum class TContactProperty
{
    FirstName,
    LastName,
    FullName,
    CompanyName,
    MobileTelephoneNumber,
    Email1Address,
    Email2Address,
    Email3Address,
    HomeTelephoneNumber,
    BusinessTelephoneNumber
};
constexpr int ContactPropertyCount = 10;

// "FirstName", "LastName" ...
QString ContactPropertyName(TContactProperty property);
// The property of exactly that name (letter case counts); nothing for any other name.
std::optional<TContactProperty> ContactPropertyFromName(QStringView name);
bool IsTelephoneProperty(TContactProperty property);

/**
 * @brief A contact of the address book: the properties lookups use, read from one vCard.
 *
 * FirstName and LastName are the given and family names of N, FullName is FN (or,
 * without FN, the name put together from N), CompanyName the first part of ORG,
 * Email1Address to Email3Address the first three EMAIL in file order. Each
 * telephone number fills one of the three numbers: typed cell the mobile number,
 * typed home or work the home or business number (the first free of those its
 * types name); fax, pager, car, modem and bbs numbers none. Untyped numbers go,
 * after the typed ones, to the free one of home and business number. Of several
 * numbers for one place, the first in the file wins.
 */
class TContactItem
{
public:
    static TContactItem FromVCard(const TVCard& card);

    const QString& Property(TContactProperty property) const { return m_values[std::size_t(property)]; }
    void SetProperty(TContactProperty property, const QString& value) { m_values[std::size_t(property)] = value; }

private:
    // Gives the number the first free of the places; false when all are taken.
    bool PlaceNumber(const QString& number, std::initializer_list<TContactProperty> places);

    std::array<QString, ContactPropertyCount> m_values;
};
