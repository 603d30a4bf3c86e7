// SPDX-License-Identifier: GPL-3.0-or-later

#include "Printable.h"

#include <gtest/gtest.h>

TEST(Printable, ControlCharactersFromAPeerAreWrittenOut)
{
    const struct
    {
        QString text;
        const char* printed;
    } cases[] = {
        {"1-7@127.0.0.1", "1-7@127.0.0.1"},
        {"a\x1b]2;owned\x07"
         "b",
         "a\\x1B]2;owned\\x07b"},
        {"line\nfake: baresip started as process 1\r", "line\\x0Afake: baresip started as process 1\\x0D"},
        {"back\\x0A", "back\\\\x0A"},
        {QString::fromUtf8("J\u00fcrgen \u009b1m"), "J\u00fcrgen \\x9B1m"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(printable(c.text), QString::fromUtf8(c.printed)) << c.printed;
}
