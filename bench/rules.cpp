// SPDX-License-Identifier: GPL-3.0-or-later

// Loading, saving and copying a large rules file, each against what pugixml alone
// needs for the same file: the parse in pugixml's default mode (for load and
// clone) and the writing of an equivalent document (for save). The loader parses
// in a leaner mode of its own (element text kept in the element); that saving is
// the loader's, so the baseline does not share it. Only the operation itself is
// timed, not the freeing of what it made.
//
// The files lie in a RAM file system when there is one (/dev/shm): the figures
// are about the program's own work, not about the disk. The save flushes its file
// to the disk before it renames it, which the bare baseline does not do; on a
// disk that flush comes on top.
//
// The time taken is the processor time of the measuring thread (the kernel's
// work for it included): the machine is shared, and waiting for another
// program's turn says nothing about this one.
//
// Before each timed operation the allocator hands back what the previous one
// freed (malloc_trim): otherwise one benchmark would pay for tidying up the heap
// after another, and every operation starts from a heap as a program start has.
#include "BenchRatios.h"
#include "RulesModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <ctime>
#include <malloc.h>

namespace {

QString BenchFolderRoot()
{
    const QString chosen = qEnvironmentVariable("KESTRUN_BENCH_DIR");
    if (!chosen.isEmpty())
        return chosen;
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

class RulesFiles
{
public:
    static RulesFiles& Instance()
    {
        static RulesFiles files;
        return files;
    }

    QString Path(const QString& name) const { return m_folder.filePath(name); }
    QByteArray EncodedPath(const QString& name) const { return QFile::encodeName(Path(name)); }
    TParameters& Model() { return m_model; }
    pugi::xml_document& Document() { return *m_document; }

private:
    RulesFiles()
        : m_folder(BenchFolderRoot() + QStringLiteral("/kestrun-bench-XXXXXX"))
    {
        FillRulesModel(m_model);
        m_model.SaveObjectsToXMLFile(Path(QStringLiteral("rules.xml")));
        m_document = m_model.SaveObjectsToXMLDoc();
        m_document->first_child().append_attribute("encoding").set_value("UTF-8");
    }

    QTemporaryDir m_folder;
    TParameters m_model;
    std::unique_ptr<pugi::xml_document> m_document;
};

double ThreadSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

template <typename F>
double Seconds(F&& operation)
{
    malloc_trim(0);
    const double start = ThreadSeconds();
    operation();
    return ThreadSeconds() - start;
}

void BM_ParseBaseline(benchmark::State& state)
{
    const QByteArray path = RulesFiles::Instance().EncodedPath(QStringLiteral("rules.xml"));
    state.SetLabel(QFileInfo(QString::fromLocal8Bit(path)).absolutePath().toStdString());
    for (auto _ : state) {
        pugi::xml_document doc;
        state.SetIterationTime(Seconds([&] {
            if (!doc.load_file(path.constData()))
                state.SkipWithError("parse failed");
        }));
    }
}

void BM_Load(benchmark::State& state)
{
    const QString path = RulesFiles::Instance().Path(QStringLiteral("rules.xml"));
    for (auto _ : state) {
        TParameters parameters;
        state.SetIterationTime(Seconds([&] {
            if (!parameters.LoadObjectsFromXMLFile(path))
                state.SkipWithError("load failed");
        }));
    }
}

void BM_SaveBaseline(benchmark::State& state)
{
    RulesFiles& files = RulesFiles::Instance();
    const QByteArray path = files.EncodedPath(QStringLiteral("baseline.xml"));
    for (auto _ : state) {
        state.SetIterationTime(Seconds([&] {
            if (!files.Document().save_file(path.constData(), "\t", pugi::format_default, pugi::encoding_utf8))
                state.SkipWithError("save failed");
        }));
    }
}

void BM_Save(benchmark::State& state)
{
    RulesFiles& files = RulesFiles::Instance();
    const QString path = files.Path(QStringLiteral("saved.xml"));
    for (auto _ : state) {
        state.SetIterationTime(Seconds([&] {
            if (!files.Model().SaveObjectsToXMLFile(path))
                state.SkipWithError("save failed");
        }));
    }
}

void BM_Clone(benchmark::State& state)
{
    RulesFiles& files = RulesFiles::Instance();
    for (auto _ : state) {
        std::unique_ptr<TParameters> copy;
        state.SetIterationTime(Seconds([&] { copy = files.Model().Clone(); }));
        if (copy->Rules().Count() != files.Model().Rules().Count())
            state.SkipWithError("incomplete copy");
    }
}

constexpr int Repetitions = 5;

BENCHMARK(BM_ParseBaseline)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_Load)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_SaveBaseline)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_Save)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_Clone)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return RunBenchmarksWithGoals(argc, argv,
                                  {{"rules_load", "BM_Load", "BM_ParseBaseline", 1.5},
                                   {"rules_save", "BM_Save", "BM_SaveBaseline", 1.5},
                                   {"rules_clone", "BM_Clone", "BM_ParseBaseline", 2.0}});
}
