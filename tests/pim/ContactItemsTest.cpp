// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/ContactItems.h"
#include "pim/ContactFilter.h"
#include "pim/ContactIndex.h"
#include "platform/KestrunError.h"

#include <gtest/gtest.h>

namespace {

TContactItem Contact(const QString& fullName, const QString& businessNumber = {})
{
    TContactItem contact;
    contact.SetProperty(TContactProperty::FullName, fullName);
    contact.SetProperty(TContactProperty::BusinessTelephoneNumber, businessNumber);
    return contact;
}

QStringList FullNames(const TContactItems& items)
{
    QStringList names;
    for (int index = 1; index <= items.Count(); ++index)
        names.append(items.Item(index).Property(TContactProperty::FullName));
    return names;
}

// "030 1234" -> "+49301234", as a telephone system in Germany would give it.
QString GermanCanonical(const QString& number)
{
    QString digits = number;
    digits.removeIf([](QChar c) { return !c.isDigit() && c != u'+'; });
    return digits.startsWith(u'0') ? QStringLiteral("+49") + digits.mid(1) : digits;
}

} // namespace

TEST(ContactFilter, ReadsTheFixedFormTakingTheValueLiterally)
{
    struct Case
    {
        QString filter, field, value;
    };
    const Case cases[] = {
        {R"([FullName] = "Anna Meier")", "FullName", "Anna Meier"},
        {R"([FullName] = "")", "FullName", ""},
        {R"([LastName] = "O'Brien")", "LastName", "O'Brien"},
        {R"([FullName] = "Say "Hi"")", "FullName", R"(Say "Hi")"},
        {R"([FullName] = "x" OR [FullName] <> "y")", "FullName", R"(x" OR [FullName] <> "y)"},
        {R"([FullName] = "] = "")", "FullName", R"(] = ")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.toStdString());
        const TContactFilter filter = TContactFilter::Parse(c.filter);
        EXPECT_EQ(filter.Field, c.field);
        EXPECT_EQ(filter.Value, c.value);
    }
}

TEST(ContactFilter, OtherFormsAreErrors)
{
    for (const QString filter : {"", "FullName = \"x\"", "[FullName] = x", "[FullName] =\"x\"", "[FullName] = \"",
                                 "[] = \"x\"", "[Full]Name] = \"x\"", "[FullName] = \"x\" ", "[FullName] <> \"x\""}) {
        SCOPED_TRACE(filter.toStdString());
        EXPECT_THROW(TContactFilter::Parse(filter), EKestrunError);
    }
}

TEST(ContactItems, RestrictKeepsTheOrderAndComparesTextsIgnoringCase)
{
    const TContactItems items(
        {Contact("Anna Meier", "1"), Contact("Bernd Kurz", "2"), Contact("anna meier", "3"), Contact("Anna Meiers")});
    const TContactItems found = items.Restrict(R"([FullName] = "ANNA MEIER")");
    EXPECT_EQ(FullNames(found), (QStringList {"Anna Meier", "anna meier"}));
    EXPECT_EQ(found.Item(2).Property(TContactProperty::BusinessTelephoneNumber), QStringLiteral("3"));
    EXPECT_EQ(items.Restrict(R"([FullName] = "")").Count(), 0);
    EXPECT_EQ(items.Restrict(R"([BusinessTelephoneNumber] = "")").Count(), 1);
}

// A value from a caller can hold quotes: it is searched for as it is and never
// widens the search.
TEST(ContactItems, QuotesAndApostrophesInTheValueMatchLiterally)
{
    const TContactItems items(
        {Contact("O'Brien"), Contact(R"(Say "Hi")"), Contact(R"(x" OR "1" = "1)"), Contact("Anna Meier")});
    EXPECT_EQ(FullNames(items.Restrict(R"([FullName] = "O'Brien")")), QStringList {"O'Brien"});
    EXPECT_EQ(FullNames(items.Restrict(R"([FullName] = "Say "Hi"")")), QStringList {R"(Say "Hi")"});
    EXPECT_EQ(FullNames(items.Restrict(R"([FullName] = "x" OR "1" = "1")")), QStringList {R"(x" OR "1" = "1)"});
    EXPECT_EQ(items.Restrict(R"([FullName] = "" OR [FullName] <> "")").Count(), 0);
}

TEST(ContactItems, AFieldThatNamesNoPropertyIsAnError)
{
    const TContactItems items({Contact("Anna Meier")});
    for (const QString field : {"all", "All", "fullname", "Email4Address"}) {
        try {
            items.Restrict(u'[' + field + QStringLiteral("] = \"Anna Meier\""));
            ADD_FAILURE() << field.toStdString() << " was taken for a field";
        } catch (const EKestrunError& error) {
            EXPECT_TRUE(error.Message().contains(field)) << error.Message().toStdString();
        }
    }
}

TEST(ContactItems, TelephoneNumbersAlsoMatchInCanonicalForm)
{
    const TContactItems items({Contact("Anna", "+49 30 1234567"), Contact("Bernd", "030 1234567"),
                               Contact("Clara", "030 1234568"), Contact("Dora"), Contact("+49 30 1234567")});
    struct Case
    {
        const char* scenario;
        QString filter;
        TCanonicalNumber canonical;
        QStringList found;
    };
    const Case cases[] = {
        {"canonical", R"([BusinessTelephoneNumber] = "0301234567")", GermanCanonical, {"Anna", "Bernd"}},
        {"canonical, from the international form",
         R"([BusinessTelephoneNumber] = "+49 (30) 123-4567")",
         GermanCanonical,
         {"Anna", "Bernd"}},
        {"without a canonical form, only equal texts", R"([BusinessTelephoneNumber] = "030 1234567")", {}, {"Bernd"}},
        {"an empty canonical form matches nothing",
         R"([BusinessTelephoneNumber] = "030 1234567")",
         [](const QString&) { return QString(); },
         {"Bernd"}},
        {"names are no numbers", R"([FullName] = "0301234567")", GermanCanonical, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        EXPECT_EQ(FullNames(items.Restrict(c.filter, c.canonical)), c.found);
    }
}

// The index finds what the collection finds, converting each stored number once
// instead of at every search.
TEST(ContactIndex, FindsWhatTheCollectionFindsWithEachNumberConvertedOnce)
{
    const TContactItems items({Contact("Anna", "+49 30 1234567"), Contact("Bernd", "030 1234567"),
                               Contact("anna", "030 1234568"), Contact("Dora"), Contact("+49 30 1234567"),
                               Contact(R"(x" OR "1" = "1)", "030 1234567")});
    int conversions = 0;
    const TCanonicalNumber counted = [&conversions](const QString& number) {
        ++conversions;
        return GermanCanonical(number);
    };
    const TContactIndex index(items, counted);
    EXPECT_EQ(index.ConvertedNumbers(), 4);
    EXPECT_EQ(conversions, 4);
    const QStringList filters {
        R"([BusinessTelephoneNumber] = "0301234567")",
        R"([BusinessTelephoneNumber] = "+49 (30) 123-4567")",
        R"([BusinessTelephoneNumber] = "030 1234567")",
        R"([BusinessTelephoneNumber] = "")",
        R"([FullName] = "ANNA")",
        R"([FullName] = "0301234567")",
        R"([FullName] = "x" OR "1" = "1")",
        R"([FullName] = "")",
        R"([FirstName] = "")",
    };
    for (const QString& filter : filters) {
        SCOPED_TRACE(filter.toStdString());
        const QString value = TContactFilter::Parse(filter).Value;
        EXPECT_EQ(FullNames(index.Restrict(filter, GermanCanonical(value))),
                  FullNames(items.Restrict(filter, GermanCanonical)));
        EXPECT_EQ(FullNames(index.Restrict(filter, QString())), FullNames(items.Restrict(filter)));
    }
    EXPECT_EQ(conversions, 4) << "searching converts no stored number";
    EXPECT_THROW(index.Restrict(R"([fullname] = "Anna")", QString()), EKestrunError);
}

TEST(ContactItems, ItemsCountFromOne)
{
    const TContactItems items({Contact("Anna"), Contact("Bernd")});
    EXPECT_EQ(items.Item(1).Property(TContactProperty::FullName), QStringLiteral("Anna"));
    EXPECT_EQ(items.Item(2).Property(TContactProperty::FullName), QStringLiteral("Bernd"));
    EXPECT_THROW(items.Item(0), EKestrunError);
    EXPECT_THROW(items.Item(3), EKestrunError);
    EXPECT_THROW(TContactItems().Item(1), EKestrunError);
}
