// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

// Case rules of the file formats and identifiers of the Windows program: only
// the ASCII letters have a case, every other character or byte (UTF-8 ones
// included) matches itself alone. Inline, as rules files are read name by name.

template <typename Char>
constexpr Char AsciiUpper(Char c)
{
    return c >= Char('a') && c <= Char('z') ? Char(c - Char('a') + Char('A')) : c;
}

template <typename Char>
constexpr Char AsciiLower(Char c)
{
    return c >= Char('A') && c <= Char('Z') ? Char(c - Char('A') + Char('a')) : c;
}

constexpr bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    }
    return true;
}

// The same for a text ended by a NUL (a name in a parsed document), without
// measuring it first.
constexpr bool SameIgnoringAsciiCase(const char* zeroEnded, std::string_view b)
{
    for (const char c : b) {
        const char a = *zeroEnded++;
        if (a == '\0' || (a != c && AsciiUpper(a) != AsciiUpper(c)))
            return false;
    }
    return *zeroEnded == '\0';
}
