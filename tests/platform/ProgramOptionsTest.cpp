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
