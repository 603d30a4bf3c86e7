// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as a rules file: loading says true or false and never crashes, hangs
// or throws; what was loaded saves, and the file written straight from the
// objects is the text of the document the same objects give. A saved file loads
// again; from the second save on, saving and loading change nothing (the first
// reload may: a rule saved without origins reads back with both). The file
// loader reads what the document loaders read from the same file parsed plainly
// with every element name in capitals.
//
// Built only on request, with clang:
//   CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
//       -DKESTRUN_FUZZ=ON -DKESTRUN_BUILD_TESTS=OFF -DKESTRUN_BUILD_BENCHMARKS=OFF
//   cmake --build build/fuzz --target fuzz_rules_loader
// Run, seeded with the test files (new findings collect in the first folder):
//   mkdir -p build/fuzz/corpus
//   build/fuzz/fuzz/fuzz_rules_loader build/fuzz/corpus tests/data -dict=fuzz/rules.dict \
//       -timeout=10 -max_total_time=300
#include "model/XmlNavigation.h"
#include "rulesfile/Parameters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "rules_loader: %s\n", what);
        std::abort();
    }
}

// The files of one input, in memory when there is room (each save is flushed to
// its disk). libFuzzer ends without running destructors, so every input cleans up
// after itself.
QString Folder()
{
    static const QString folder =
        (QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
        QStringLiteral("/kestrun-fuzz-") + QString::number(QCoreApplication::applicationPid());
    return folder;
}

// The saved text without IDs: objects without one get fresh ones on each load.
QString WithoutIDs(TParameters& parameters)
{
    const auto doc = parameters.SaveObjectsToXMLDoc();
    Require(doc != nullptr, "a loaded model gives no document");
    std::ostringstream text;
    doc->save(text, "\t");
    static const QRegularExpression ids(QStringLiteral("<ID>[^<]*</ID>"));
    return QString::fromStdString(text.str()).replace(ids, QString());
}

// The input parsed with each text in a node of its own and every element name
// in capitals, read by the document loaders; nothing when it does not parse.
std::unique_ptr<TParameters> LoadedInCapitals(const QString& input, bool& loaded)
{
    constexpr unsigned plain = TParameters::XmlParseOptions & ~pugi::parse_embed_pcdata;
    pugi::xml_document parsed;
    if (!parsed.load_file(QFile::encodeName(input).constData(), plain) || !parsed.document_element())
        return nullptr;
    std::ostringstream text;
    parsed.save(text, "\t");
    pugi::xml_document capitals;
    if (!capitals.load_string(MakeCaseInsentiveXML(QString::fromStdString(text.str()), csUpper).toUtf8().constData(),
                              plain))
        return nullptr;
    auto parameters = std::make_unique<TParameters>();
    loaded = parameters->LoadActionSequencesFromXML(capitals) && parameters->LoadRulesFromXML(capitals);
    return parameters;
}

struct InputFolder
{
    InputFolder() { QDir().mkpath(Folder()); }
    ~InputFolder() { QDir(Folder()).removeRecursively(); }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const InputFolder files;
    const QString input = Folder() + QStringLiteral("/input.xml");
    const QString first = Folder() + QStringLiteral("/first.xml");
    const QString second = Folder() + QStringLiteral("/second.xml");
    const QString third = Folder() + QStringLiteral("/third.xml");
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    TParameters parameters;
    const bool loaded = parameters.LoadObjectsFromXMLFile(input);
    Require(parameters.SaveObjectsToXMLFile(first), "a loaded model does not save");
    bool loadedInCapitals = false;
    if (const auto inCapitals = LoadedInCapitals(input, loadedInCapitals)) {
        Require(loaded == loadedInCapitals, "the file loader and the document loaders disagree on success");
        Require(WithoutIDs(parameters) == WithoutIDs(*inCapitals), "the file loader reads another model");
    }

    const auto doc = parameters.SaveObjectsToXMLDoc();
    Require(doc != nullptr, "a loaded model gives no document");
    doc->first_child().append_attribute("encoding").set_value("UTF-8");
    std::ostringstream text;
    doc->save(text, "\t", pugi::format_default, pugi::encoding_utf8);
    Require(ReadAll(first).toStdString() == text.str(), "the saved file is not the document's text");

    TParameters reloaded;
    Require(reloaded.LoadObjectsFromXMLFile(first), "a saved file does not load");
    Require(reloaded.SaveObjectsToXMLFile(second), "a reloaded model does not save");
    TParameters again;
    Require(again.LoadObjectsFromXMLFile(second), "a saved file does not load");
    Require(again.SaveObjectsToXMLFile(third), "a reloaded model does not save");
    Require(ReadAll(second) == ReadAll(third), "save, load, save changes the file");

    const std::unique_ptr<TParameters> copy = reloaded.Clone();
    Require(copy->Rules().Count() == reloaded.Rules().Count(), "a copy lost rules");
    return 0;
}
