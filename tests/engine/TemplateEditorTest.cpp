// SPDX-License-Identifier: GPL-3.0-or-later

#include "TemplateTestSupport.h"

#include "actions/ActionOutlookItems.h"
#include "engine/TemplateEditor_Core.h"
#include "model/BaseParameter.h"
#include "parameters/ParameterInteraction.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"
#include "parameters/ParameterVelquist.h"
#include "platform/KestrunError.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

TTemplateTag OnlyTag(const QString& text)
{
    const QList<TTemplateTag> tags = ScanTemplateTags(text);
    EXPECT_EQ(tags.size(), 1) << text.toStdString();
    return tags.value(0);
}

std::unique_ptr<TBaseParameter> Orvix(const QString& value)
{
    auto parameter = std::make_unique<TParameterOrvix>();
    parameter->SetParameterValue(value);
    return parameter;
}

std::unique_ptr<TBaseParameter> System(SystemParameter type)
{
    auto parameter = std::make_unique<TParameterSystem>();
    parameter->SetParamType(type);
    // Each kind must write only its own format.
    parameter->SetTimeFormat(QStringLiteral("hh:nn:ss"));
    parameter->SetDateFormat(QStringLiteral("dd.mm.yyyy"));
    parameter->SetDateTimeFormat(QStringLiteral("dd.mm.yyyy hh:nn"));
    parameter->SetEnvironmentalVariable(QStringLiteral("USERNAME"));
    return parameter;
}

struct TagCase
{
    std::function<std::unique_ptr<TBaseParameter>()> make;
    const char* tag;
};

class ParameterTag : public ::testing::TestWithParam<TagCase>
{
};

} // namespace

TEST_P(ParameterTag, IsWrittenAndReadBackAsTheSameTagAndKey)
{
    const std::unique_ptr<TBaseParameter> parameter = GetParam().make();
    const QString tag = CreateTemplateTag(*parameter);
    EXPECT_EQ(tag, QString::fromUtf8(GetParam().tag));
    const TTemplateTag found = OnlyTag(tag);
    EXPECT_EQ(CanonicalTemplateTag(found.Name, found.Attributes), tag);
    EXPECT_EQ(TemplateKey(found.Name, found.Attributes), TemplateKey(*parameter));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ParameterTag,
    ::testing::Values(
        TagCase {[] { return Orvix(QStringLiteral("orvixCallerName")); }, R"(<#saOrvix Value="orvixCallerName">)"},
        TagCase {[] { return Orvix(QString()); }, "<#saOrvix>"},
        TagCase {[] {
                     auto parameter = std::make_unique<TParameterUser>();
                     parameter->SetParameterValue(QStringLiteral("Kunde Nr"));
                     return parameter;
                 },
                 R"(<#saUserParam Value="Kunde Nr">)"},
        TagCase {[] { return System(spTime); }, R"(<#saSystemParam Value="spTime" Format="hh:nn:ss">)"},
        TagCase {[] { return System(spDate); }, R"(<#saSystemParam Value="spDate" Format="dd.mm.yyyy">)"},
        TagCase {[] { return System(spDateTime); }, R"(<#saSystemParam Value="spDateTime" Format="dd.mm.yyyy hh:nn">)"},
        TagCase {[] { return System(spEnvironmentVariable); },
                 R"(<#saSystemParam Value="spEnvironmentVariable" Format="USERNAME">)"},
        TagCase {[] { return System(spIPAddress); }, R"(<#saSystemParam Value="spIPAddress">)"},
        TagCase {[] { return System(spOS); }, R"(<#saSystemParam Value="spOS">)"},
        TagCase {
            [] {
                auto parameter = std::make_unique<TParameterVelquist>();
                parameter->SetParameterValue(QStringLiteral("displayName"));
                parameter->SetSearchBase(QStringLiteral("not in the tag"));
                return parameter;
            },
            R"(<#saLDAP Value="displayName" Value2="searchnumber" Option1="True" Option1Value="orvixCallerNumber" )"
            R"(Option2="False" Option2Value="">)"},
        TagCase {[] {
                     auto parameter = std::make_unique<TParameterOutlookAddressbook>();
                     parameter->SetParameterValue(QStringLiteral("CompanyName"));
                     parameter->SetSearchField(QStringLiteral("All"));
                     parameter->SetSearchOptionUser(true);
                     parameter->SetSearchOptionUserValue(QStringLiteral("Kunde"));
                     return parameter;
                 },
                 R"(<#saOutlookAddressbook Value="CompanyName" Value2="All" Value3="Outlook-Parameter" Option1="True" )"
                 R"(Option1Value="" Option2="True" Option2Value="Kunde">)"},
        TagCase {[] {
                     auto parameter = std::make_unique<TParameterInteraction>();
                     parameter->SetParameterValue(QStringLiteral("Frage"));
                     return parameter;
                 },
                 "<#saInteraction>"},
        TagCase {[] { return std::make_unique<TBaseParameter>(); }, "<#unknown>"}));

TEST(TemplateKey, KeepsOnlyLettersAndDigitsOfTheKnownAttributesInOrder)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"(<#saOrvix Value="orvixCallerName">)", "saOrvix_orvixCallerName"},
        {R"(<#saSystemParam Value="spTime" Format="hh:nn:ss">)", "saSystemParam_spTime_hhnnss"},
        {R"(<#saUserParam Value="Kunden-Nr. (alt) Ä">)", "saUserParam_KundenNralt"},
        {R"(<#t Option2="b" ID="7" Value="a" Value4="d" Value2="" Format="e:f">)", "t_a_d_ef_b"},
        // A lookup tag is keyed as the parameter made from it: both options, off unless "True".
        {R"(<#saLDAP Value="x" Option1="True" Option1Value="">)", "saLDAP_x_True_False"},
        {R"(<#t Format="::">)", "t_"},
    };
    for (const auto& [text, key] : cases) {
        const TTemplateTag tag = OnlyTag(QString::fromUtf8(text));
        EXPECT_EQ(TemplateKey(tag.Name, tag.Attributes), QString::fromUtf8(key)) << text;
    }
    EXPECT_EQ(CleanString(u"Grüße 42_x-Y"), QStringLiteral("Gre42xY"));
}

TEST(CanonicalTemplateTag, OrdersKnownAttributesAndFillsMissingOptionValues)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"(<#saLDAP Value="v" Option1="True" Option2="False">)",
         R"(<#saLDAP Value="v" Option1="True" Option1Value="" Option2="False" Option2Value="">)"},
        {R"(<#saOrvix Format="x" ID="1" Value="v" Value2="">)", R"(<#saOrvix Value="v" Format="x">)"},
        {R"(<#saLDAP Option1Value="n">)",
         R"(<#saLDAP Option1="False" Option1Value="n" Option2="False" Option2Value="">)"},
        {R"(<#x value="v" Value4="w">)", R"(<#x Value="v" Value4="w">)"},
    };
    for (const auto& [text, canonical] : cases) {
        const TTemplateTag tag = OnlyTag(QString::fromUtf8(text));
        EXPECT_EQ(CanonicalTemplateTag(tag.Name, tag.Attributes), QString::fromUtf8(canonical)) << text;
    }
}

namespace {

// An Outlook item dialog confirmed with its template active: the action and the
// dialog's list of used parameters.
class TemplateSubActions : public ::testing::Test
{
protected:
    QString Template(const QByteArray& content) { return folder.Write(QStringLiteral("note.htm"), content); }

    void Add(std::unique_ptr<TBaseParameter> parameter)
    {
        used.append(parameter.get());
        action.AddNewItem(parameter.release());
    }

    std::vector<std::unique_ptr<TBaseParameter>> Confirm(const QString& path)
    {
        auto removed = CleanSubActions(path, action, used);
        CreateTemplateSubActions(path, action, used);
        return removed;
    }

    QStringList ActionTags() const
    {
        QStringList tags;
        for (int i = 0; i < action.Count(); ++i)
            tags.append(CreateTemplateTag(*action.Parameter(i)));
        return tags;
    }

    QList<TBaseParameter*> ActionParameters() const
    {
        QList<TBaseParameter*> parameters;
        for (int i = 0; i < action.Count(); ++i)
            parameters.append(action.Parameter(i));
        return parameters;
    }

    TemplateFolder folder;
    TActionOutlookNote action;
    QList<TBaseParameter*> used;
};

} // namespace

TEST_F(TemplateSubActions, ConfirmingAgainKeepsOneParameterPerDistinctTag)
{
    const QString path = Template(R"(Anruf von <#saOrvix Value="orvixCallerName"> (<#saOrvix Value="orvixCallerNumber">)
<#saOrvix Value="orvixCallerName"> um <#saSystemParam Value="spTime" Format="hh:nn">
<#saLDAP Value="mail" Value2="searchnumber" Option1="True" Option1Value="orvixCallerNumber" Option2="False">
<#Freitext> <#Freitext> <p>ok</p>)");
    Confirm(path);
    const QStringList expected {
        R"(<#saOrvix Value="orvixCallerName">)",
        R"(<#saOrvix Value="orvixCallerNumber">)",
        R"(<#saSystemParam Value="spTime" Format="hh:nn">)",
        R"(<#saLDAP Value="mail" Value2="searchnumber" Option1="True" Option1Value="orvixCallerNumber" Option2="False" Option2Value="">)",
    };
    EXPECT_EQ(ActionTags(), expected);
    EXPECT_EQ(used, ActionParameters());

    const QList<TBaseParameter*> first = ActionParameters();
    Confirm(path);
    Confirm(path);
    EXPECT_EQ(ActionTags(), expected);
    EXPECT_EQ(used, ActionParameters());
    // Parameters whose tags are in the template stay the same objects, with what the user set on them.
    EXPECT_EQ(ActionParameters().mid(0, 4), first.mid(0, 4));
}

TEST_F(TemplateSubActions, TagRemovedFromTheTemplateTakesItsParameterAlong)
{
    Add(Orvix(QStringLiteral("orvixCallerName")));
    Add(Orvix(QStringLiteral("orvixCallerNumber")));
    Add(Orvix(QStringLiteral("orvixCalledExtension")));
    TBaseParameter* number = used[1];
    TBaseParameter* extension = used[2];

    const auto removed = Confirm(Template(R"(<#saOrvix Value="orvixCallerName"> <#saUserParam Value="Kunde">)"));
    ASSERT_EQ(removed.size(), 2U);
    EXPECT_EQ(removed[0].get(), number);
    EXPECT_EQ(removed[1].get(), extension);
    EXPECT_EQ(ActionTags(), (QStringList {R"(<#saOrvix Value="orvixCallerName">)", R"(<#saUserParam Value="Kunde">)"}));
    EXPECT_EQ(used, ActionParameters());
}

TEST_F(TemplateSubActions, TagWithoutOption1ValueMatchesAnEmptyOne)
{
    auto lookup = std::make_unique<TParameterVelquist>();
    lookup->SetParameterValue(QStringLiteral("displayName"));
    lookup->SetSearchOptionOrvixValue(QString());
    TBaseParameter* kept = lookup.get();
    Add(std::move(lookup));

    const QString path =
        Template(R"(<#saLDAP Value="displayName" Value2="searchnumber" Option1="True" Option2="False">)");
    EXPECT_TRUE(Confirm(path).empty());
    EXPECT_EQ(ActionParameters(), QList<TBaseParameter*> {kept});
}

// A lookup tag written by hand without its search options makes a parameter that the
// tag finds again: confirming twice neither removes it nor makes a second one, and the
// value the run files under the parameter's key is the one the tag asks for.
TEST_F(TemplateSubActions, LookupTagWithoutOptionsFindsTheParameterMadeFromIt)
{
    const QString path = Template(R"(<#saLDAP Value="city"> <#saOutlookAddressbook Value="company" Option1="true">)");
    Confirm(path);
    ASSERT_EQ(action.Count(), 2);
    const QList<TBaseParameter*> made = ActionParameters();
    EXPECT_TRUE(Confirm(path).empty());
    EXPECT_EQ(ActionParameters(), made);
    TTagAttributes city;
    city.Append(QStringLiteral("Value"), QStringLiteral("city"));
    EXPECT_EQ(TemplateKey(QStringLiteral("saLDAP"), city), TemplateKey(*made[0]));
}

TEST_F(TemplateSubActions, NewParametersFollowTheTagNameExactly)
{
    struct Case
    {
        const char* tag;
        const char* className;
        const char* parameterTag;
    };
    const Case cases[] = {
        {R"(<#saSystemParam Value="spEnvironmentVariable" Format="USERNAME">)", "TParameterSystem",
         R"(<#saSystemParam Value="spEnvironmentVariable" Format="USERNAME">)"},
        {R"(<#saSystemParam Value="EnvironmentalVariable" Format="HOME">)", "TParameterSystem",
         R"(<#saSystemParam Value="spEnvironmentVariable" Format="HOME">)"},
        {R"(<#saSystemParam Value="spDate" Format="yyyy">)", "TParameterSystem",
         R"(<#saSystemParam Value="spDate" Format="yyyy">)"},
        {R"(<#saSystemParam Value="spOS" Format="x">)", "TParameterSystem", R"(<#saSystemParam Value="spOS">)"},
        {R"(<#saSystemParam Value="Quatsch" Format="hh">)", "TParameterSystem", R"(<#saSystemParam Value="spTime">)"},
        {R"(<#saUserParam Value="Kunde">)", "TParameterUser", R"(<#saUserParam Value="Kunde">)"},
        {R"(<#saLDAP Value="mail" Option1="true" Option2="True" Option2Value="Nr">)", "TParameterVelquist",
         R"(<#saLDAP Value="mail" Option1="False" Option1Value="" Option2="True" Option2Value="Nr">)"},
        {R"(<#saOutlookAddressbook Value="Email1Address" Value2="All" Value3="Mail" Option1="True" Option1Value="orvixCallerNumber">)",
         "TParameterOutlookAddressbook",
         R"(<#saOutlookAddressbook Value="Email1Address" Value2="All" Value3="Email1Address" Option1="True" )"
         R"(Option1Value="orvixCallerNumber" Option2="False" Option2Value="">)"},
        // A tag of no parameter's kind stays in the template without a parameter, which could not be stored.
        {R"(<#SAORVIX Value="orvixCallerName">)", nullptr, nullptr},
        {R"(<#saInteraction>)", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        TActionOutlookNote note;
        QList<TBaseParameter*> list;
        CreateTemplateSubActions(Template(c.tag), note, list);
        if (!c.className) {
            EXPECT_EQ(note.Count(), 0) << c.tag;
            EXPECT_TRUE(list.isEmpty()) << c.tag;
            continue;
        }
        ASSERT_EQ(note.Count(), 1) << c.tag;
        const TBaseParameter* parameter = note.Parameter(0);
        EXPECT_EQ(list, QList<TBaseParameter*> {note.Parameter(0)});
        EXPECT_STREQ(parameter->metaObject()->className(), c.className) << c.tag;
        EXPECT_EQ(CreateTemplateTag(*parameter), QString::fromUtf8(c.parameterTag)) << c.tag;
        EXPECT_TRUE(parameter->ShowAlias());
        const TTemplateTag tag = OnlyTag(QString::fromUtf8(c.tag));
        EXPECT_EQ(parameter->Caption(), tag.Attributes.Value(u"Value")) << c.tag;
    }
}

TEST_F(TemplateSubActions, UnreadableTemplateChangesNothing)
{
    Add(Orvix(QStringLiteral("orvixCallerName")));
    const QString missing = folder.Path() + QStringLiteral("/fehlt.htm");
    EXPECT_THROW(CleanSubActions(missing, action, used), EKestrunError);
    EXPECT_THROW(CreateTemplateSubActions(missing, action, used), EKestrunError);
    EXPECT_EQ(action.Count(), 1);
    EXPECT_EQ(used.size(), 1);

    // With nothing listed there is nothing to clean, and the file is not even read.
    QList<TBaseParameter*> empty;
    EXPECT_TRUE(CleanSubActions(missing, action, empty).empty());
    EXPECT_EQ(action.Count(), 1);
}

TEST_F(TemplateSubActions, DryRunNamesExactlyWhatTheCleanUpRemovesAndChangesNothing)
{
    Add(Orvix(QStringLiteral("orvixCallerName")));
    Add(Orvix(QStringLiteral("orvixCallerNumber")));
    Add(Orvix(QStringLiteral("orvixCalledExtension")));
    const QList<TBaseParameter*> before = used;
    const QString path = Template(R"(<#saOrvix Value="orvixCallerNumber">)");

    const QList<TBaseParameter*> toRemove = SubActionsToClean(path, used);
    EXPECT_EQ(toRemove, (QList<TBaseParameter*> {before[0], before[2]}));
    EXPECT_EQ(used, before);
    EXPECT_EQ(ActionParameters(), before);

    const auto removed = CleanSubActions(path, action, used);
    QList<TBaseParameter*> removedPointers;
    for (const auto& parameter : removed)
        removedPointers.append(parameter.get());
    EXPECT_EQ(removedPointers, toRemove);
    EXPECT_EQ(used, QList<TBaseParameter*> {before[1]});
    EXPECT_EQ(ActionParameters(), used);
}

TEST_F(TemplateSubActions, NewTemplateSampleBringsNoParametersAndIsASmallPage)
{
    Add(Orvix(QStringLiteral("orvixCallerName")));
    for (const TTemplateKind kind : {TTemplateKind::Html, TTemplateKind::PlainText}) {
        const QString sample = NewTemplateSample(kind);
        EXPECT_TRUE(ScanTemplateTags(sample).isEmpty());
        EXPECT_EQ(SubActionsToClean(Template(sample.toUtf8()), used), used);
    }
    const QString page = NewTemplateSample(TTemplateKind::Html);
    EXPECT_TRUE(page.startsWith(u"<!DOCTYPE html>\n"));
    for (const char* element : {"html", "head", "title", "body", "h1", "p"}) {
        const QString name = QString::fromLatin1(element);
        EXPECT_EQ(page.count(u'<' + name + u'>') + page.count(u'<' + name + u' '), 1) << element;
        EXPECT_EQ(page.count(QStringLiteral("</") + name + u'>'), 1) << element;
    }
    EXPECT_FALSE(NewTemplateSample(TTemplateKind::PlainText).contains(u'<'));
}
