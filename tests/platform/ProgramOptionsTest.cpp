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
