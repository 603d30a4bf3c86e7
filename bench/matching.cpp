// SPDX-License-Identifier: GPL-3.0-or-later

// The wildcard comparison of rule number patterns against glibc's fnmatch on the
// same corpus of numbers and patterns ("*" and "?" only, no escapes).
#include "BenchRatios.h"

#include "telephony/Wildcard.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <fnmatch.h>
#include <string>
#include <vector>

namespace {

struct Corpus
{
    std::vector<QString> numbers;
    std::vector<QString> patterns;
    std::vector<std::string> numbersUtf8;
    std::vector<std::string> patternsUtf8;
};

// Numbers as the softphone stores them (canonical national and international
// numbers, extensions) and patterns as users write them.
const Corpus& TheCorpus()
{
    static const Corpus corpus = [] {
        Corpus c;
        QRandomGenerator random(4711);
        const QStringList prefixes {"+4930", "+4940", "+4989", "+49800", "+4915", "+43", "+41", ""};
        for (int i = 0; i < 500; ++i) {
            const QString prefix = prefixes[int(random.bounded(prefixes.size()))];
            const int digits = prefix.isEmpty() ? 2 + int(random.bounded(3)) : 6 + int(random.bounded(4));
            QString number = prefix;
            for (int d = 0; d < digits; ++d)
                number += QChar(u'0' + int(random.bounded(10)));
            c.numbers.push_back(number);
        }
        c.patterns = {"+4930*",   "+49*", "*",      "+4980?*", "*123",         "+49*0*1", "2?",
                      "+4940*5*", "0*",   "+4?30*", "*4*5*6*", "+4915??????*", "???",     "+43*;"};
        c.patterns.back().chop(1);
        for (const QString& n : c.numbers)
            c.numbersUtf8.push_back(n.toStdString());
        for (const QString& p : c.patterns)
            c.patternsUtf8.push_back(p.toStdString());
        return c;
    }();
    return corpus;
}

void BM_Like(benchmark::State& state)
{
    const Corpus& corpus = TheCorpus();
    for (auto _ : state) {
        int matches = 0;
        for (const QString& pattern : corpus.patterns)
            for (const QString& number : corpus.numbers)
                matches += Like(number, pattern) ? 1 : 0;
        benchmark::DoNotOptimize(matches);
    }
}
BENCHMARK(BM_Like)->Repetitions(5);

void BM_Fnmatch(benchmark::State& state)
{
    const Corpus& corpus = TheCorpus();
    for (auto _ : state) {
        int matches = 0;
        for (const std::string& pattern : corpus.patternsUtf8)
            for (const std::string& number : corpus.numbersUtf8)
                matches += fnmatch(pattern.c_str(), number.c_str(), FNM_NOESCAPE) == 0 ? 1 : 0;
        benchmark::DoNotOptimize(matches);
    }
}
BENCHMARK(BM_Fnmatch)->Repetitions(5);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithGoals(argc, argv, {{"like_vs_fnmatch", "BM_Like", "BM_Fnmatch", 1.0}});
}
