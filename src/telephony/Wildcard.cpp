// SPDX-License-Identifier: GPL-3.0-or-later

#include "telephony/Wildcard.h"

#include <algorithm>

// Greedy matching with one restart point: on a mismatch after a star, the star
// takes one more character and matching resumes behind it. Every pattern gets
// the right answer (also "?" right after "*"), in at most text x pattern steps.
bool Like(QStringView text, QStringView pattern)
{
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starPattern = -1;
    qsizetype starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starText = t;
        } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (starPattern >= 0) {
            p = starPattern + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool CheckSemicolon(const QString& numberList, const QString& number)
{
    for (const QStringView entry : QStringView(numberList).tokenize(u';')) {
        if (Like(number, entry))
            return true;
    }
    return false;
}

bool IsLiteralPattern(QStringView number)
{
    constexpr qsizetype LongestNumber = 256;
    if (number.isEmpty() || number.size() > LongestNumber)
        return false;
    return std::none_of(number.begin(), number.end(),
                        [](QChar c) { return c == u';' || c == u'*' || c == u'?' || !c.isPrint(); });
}
