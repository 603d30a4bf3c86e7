// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ProgramOptions.h"

#include <gtest/gtest.h>

// Any other argument is the one a second start hands over, and Qt's own options
// (-platform xcb) come before or after the asking one.
TEST(ProgramOptions, HelpAndVersionAreFoundAmongTheArgumentsAndNothingElseIsAnOption)
{
    const struct
    {
        QStringList arguments;
        EInformationOption option;
    } cases[] = {
        {{}, EInformationOption::None},
        {{"eventcontroller:abc"}, EInformationOption::None},
        {{"eventcontroller:--help"}, EInformationOption::None},
        {{"--helpme"}, EInformationOption::None},
        {{"-v"}, EInformationOption::None},
        {{"--help"}, EInformationOption::Help},
        {{"-h"}, EInformationOption::Help},
        {{"--version"}, EInformationOption::Version},
        {{"-platform", "xcb", "--version"}, EInformationOption::Version},
        {{"--version", "--help"}, EInformationOption::Version},
        {{"--help", "--version"}, EInformationOption::Help},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindInformationOption(c.arguments), c.option) << c.arguments.join(u' ').toStdString();
}

// --show is looked for on its own: it may stand beside Qt's options.
TEST(ProgramOptions, ShowIsFoundAmongTheArguments)
{
    EXPECT_TRUE(AsksToShowRules(QStringList {QStringLiteral("--show")}));
    EXPECT_TRUE(
        AsksToShowRules(QStringList {QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("--show")}));
    EXPECT_FALSE(AsksToShowRules(QStringList {QStringLiteral("eventcontroller:--show")}));
    EXPECT_FALSE(AsksToShowRules(QStringList {}));
    EXPECT_EQ(FindInformationOption({QStringLiteral("--show")}), EInformationOption::None);
}

// A clicked link arrives as the only argument; --dial may stand among Qt's options.
TEST(ProgramOptions, DialRequestComesFromDialOrALinkOfTheDesktop)
{
    const struct
    {
        QStringList arguments;
        std::optional<QString> request;
    } cases[] = {
        {{}, std::nullopt},
        {{"eventcontroller:abc"}, std::nullopt},
        {{"0301234"}, std::nullopt},
        {{"tel:+4930123456"}, "tel:+4930123456"},
        {{"TEL:+49 30"}, "TEL:+49 30"},
        {{"sip:0301234@pbx"}, "sip:0301234@pbx"},
        {{"--dial", "030 123"}, "030 123"},
        {{"-platform", "xcb", "--dial=030"}, "030"},
        {{"--dial"}, ""},
        {{"x", "tel:1"}, std::nullopt},
        {{"--show", "tel:1"}, "tel:1"},
        {{"--show"}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindDialRequest(c.arguments), c.request) << c.arguments.join(u' ').toStdString();
}

// Everything after the file is a rule name, whatever it looks like.
TEST(ProgramOptions, ExchangeRequestTakesTheFileAndEveryNameAfterIt)
{
    using EKind = TExchangeRequest::EKind;
    const struct
    {
        QStringList arguments;
        std::optional<EKind> kind;
        QString file;
        QStringList names;
    } cases[] = {
        {{}, std::nullopt, {}, {}},
        {{"--show", "export.xml"}, std::nullopt, {}, {}},
        {{"--export", "a.xml"}, EKind::Export, "a.xml", {}},
        {{"-platform", "xcb", "--import", "a.xml", "Kunde", "--show", "-x"},
         EKind::Import,
         "a.xml",
         {"Kunde", "--show", "-x"}},
        {{"--import"}, EKind::Import, {}, {}},
        {{"--export", "a.xml", "--import", "b.xml"}, EKind::Export, "a.xml", {"--import", "b.xml"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const std::optional<TExchangeRequest> request = FindExchangeRequest(c.arguments);
        ASSERT_EQ(request.has_value(), c.kind.has_value());
        if (!request)
            continue;
        EXPECT_EQ(request->Kind, *c.kind);
        EXPECT_EQ(request->FileName, c.file);
        EXPECT_EQ(request->RuleNames, c.names);
    }
}
