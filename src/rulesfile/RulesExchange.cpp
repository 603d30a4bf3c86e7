// SPDX-License-Identifier: GPL-3.0-or-later

#include "rulesfile/RulesExchange.h"

#include "actions/ActionBaseMessage.h"
#include "model/ActionSequence.h"
#include "model/Guid.h"
#include "model/ListOwnership.h"
#include "model/Rule.h"
#include "model/XmlRecord.h"
#include "platform/AsciiCase.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "rulesfile/Parameters.h"
#include "trace/Trace.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace RulesExchange {

namespace {

QList<TRule*> RulesOf(const TParameters& model)
{
    QList<TRule*> rules;
    for (TBaseObject* item : model.Rules().MainList()) {
        if (auto* rule = qobject_cast<TRule*>(item))
            rules.append(rule);
    }
    return rules;
}

// Two names of one file: the same file however it was reached.
bool SameFile(const QString& path, const QString& other)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(other).canonicalFilePath();
}

QByteArray ReadWholeFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw EKestrunError(QStringLiteral("Die Datei \"%1\" gibt es nicht.").arg(path));
    // A pipe or a device under that name would keep the read waiting for ever.
    if (!info.isFile())
        throw EKestrunError(QStringLiteral("\"%1\" ist keine gewöhnliche Datei.").arg(path));
    if (info.size() > MaxFileSize)
        throw EKestrunError(QStringLiteral("Die Datei \"%1\" ist zu groß für eine Regeldatei (%2 MB).")
                                .arg(path, QString::number(info.size() >> 20)));
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw EKestrunError(
            QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2").arg(path, file.errorString()));
    // It grew while it was read.
    if (bytes.size() > MaxFileSize)
        throw EKestrunError(QStringLiteral("Die Datei \"%1\" ist zu groß für eine Regeldatei.").arg(path));
    return bytes;
}

// The sequences that the buttons of the sequence's messages offer, as a run finds
// them: the first sequence with the ID.
QList<TBaseObject*> OfferedSequences(const TParameters& model, const TActionSequence& sequence)
{
    QList<TBaseObject*> offered;
    for (TBaseObject* item : sequence.MainList()) {
        if (const auto* message = qobject_cast<const TActionBaseMessage*>(item)) {
            for (const QString& id : message->AssociatedActionSequences())
                offered.append(model.ActionSequences().GetObjectByID(id));
        }
    }
    return offered;
}

// Buttons name sequences by ID: those of the copies name the copies, and a button
// whose sequence did not come along is dropped rather than left to name one that
// happens to have that ID in the model the copies go to.
void PointButtonsAt(TActionSequence& copy, const QHash<QString, QString>& newIDs)
{
    for (TBaseObject* item : copy.MainList()) {
        auto* message = qobject_cast<TActionBaseMessage*>(item);
        if (!message || message->AssociatedActionSequences().isEmpty())
            continue;
        QStringList ids;
        for (const QString& id : message->AssociatedActionSequences()) {
            if (newIDs.contains(id))
                ids.append(newIDs.value(id));
            else
                Trace::Warning("Main::ImportRule:Button without its action sequence dropped",
                               QStringLiteral("sequence \"%1\", ID %2").arg(copy.Name(), id));
        }
        message->SetAssociatedActionSequences(ids);
    }
}

} // namespace

QList<TActionSequence*> SequencesNeededBy(const TParameters& model, const QList<TRule*>& rules)
{
    const TBaseList& sequences = model.ActionSequences();
    QSet<const TBaseObject*> needed;
    QList<const TActionSequence*> pending;
    const auto need = [&](TBaseObject* item) {
        const auto* sequence = qobject_cast<const TActionSequence*>(item);
        // A link to a sequence outside the list is not written either.
        if (sequence && !needed.contains(sequence) && sequences.GetIndex(sequence) >= 0) {
            needed.insert(sequence);
            pending.append(sequence);
        }
    };
    for (const TRule* rule : rules) {
        for (TBaseObject* linked : rule->MainList())
            need(linked);
    }
    while (!pending.isEmpty()) {
        for (TBaseObject* offered : OfferedSequences(model, *pending.takeLast()))
            need(offered);
    }
    QList<TActionSequence*> ordered;
    for (TBaseObject* item : sequences.MainList()) {
        if (needed.contains(item))
            ordered.append(qobject_cast<TActionSequence*>(item));
    }
    return ordered;
}

void KeepRulesNamed(TParameters& model, const QStringList& names, const QString& fileName)
{
    if (names.isEmpty())
        return;
    const QList<TRule*> rules = RulesOf(model);
    QStringList missing;
    for (const QString& name : names) {
        if (std::none_of(rules.begin(), rules.end(), [&name](const TRule* rule) { return rule->Name() == name; }) &&
            !missing.contains(name))
            missing.append(name);
    }
    if (!missing.isEmpty()) {
        const QString which = missing.size() == 1 ? QStringLiteral("keine Regel namens %1").arg(Quoted(missing))
                                                  : QStringLiteral("keine Regeln namens %1").arg(Quoted(missing));
        throw EKestrunError(fileName.isEmpty() ? QStringLiteral("Es gibt %1.").arg(which)
                                               : QStringLiteral("Die Datei \"%1\" enthält %2.").arg(fileName, which));
    }
    for (TRule* rule : rules) {
        if (!names.contains(rule->Name()))
            TakeItem(model.Rules(), rule);
    }
}

void WriteExchangeFile(const TParameters& model, const QString& fileName)
{
    if (model.Rules().Count() == 0)
        throw EKestrunError(QStringLiteral("Es ist keine Regel zum Exportieren gewählt."));
    // The user's own rules would be replaced by the few chosen.
    if (SameFile(fileName, DataPathRulesFile()))
        throw EKestrunError(
            QStringLiteral("Die Regeln können nicht in die eigene Regeldatei \"%1\" exportiert werden.").arg(fileName));
    std::unique_ptr<TParameters> exported = model.Clone();
    const QList<TActionSequence*> needed = SequencesNeededBy(*exported, RulesOf(*exported));
    for (TBaseObject* sequence : exported->ActionSequences().MainList()) {
        if (!needed.contains(sequence))
            TakeItem(exported->ActionSequences(), sequence);
    }
    try {
        exported->WriteObjectsToXMLFile(fileName);
    } catch (const EKestrunError& error) {
        Trace::Value("Main::ExportRule:Cannot write file", error.Message());
        throw EKestrunError(QStringLiteral("Die Regeln konnten nicht in die Datei \"%1\" exportiert werden (%2).")
                                .arg(fileName, error.Message()));
    }
    Trace::Value("Main::ExportRule:Rules exported",
                 QStringLiteral("%1 rules, %2 action sequences to %3")
                     .arg(exported->Rules().Count())
                     .arg(needed.size())
                     .arg(fileName));
}

std::unique_ptr<TParameters> ReadExchangeFile(const QString& fileName)
{
    Trace::Value("Main::ImportRule:Importing rules from file", fileName);
    QByteArray bytes = ReadWholeFile(fileName);
    pugi::xml_document doc;
    // The document refers to the bytes it was parsed from, which outlive it here.
    const pugi::xml_parse_result parsed =
        doc.load_buffer_inplace(bytes.data(), std::size_t(bytes.size()), TParameters::XmlParseOptions);
    if (!parsed)
        throw EKestrunError(
            QStringLiteral("Die Datei \"%1\" ist beschädigt und kann nicht gelesen werden "
                           "(%2 bei Zeichen %3).")
                .arg(fileName, QString::fromUtf8(parsed.description()), QString::number(parsed.offset)));
    const pugi::xml_node root = doc.document_element();
    auto model = std::make_unique<TParameters>();
    if (!root || !SameIgnoringAsciiCase("EventController", root.name()) ||
        !FirstChildIgnoringCase(root, "AllActionSequences") || !FirstChildIgnoringCase(root, "AllRules") ||
        !model->LoadObjectsFromXMLDoc(doc))
        throw EKestrunError(
            QStringLiteral("Die Datei \"%1\" ist keine Regeldatei des Kestrun Event Controllers.").arg(fileName));
    if (model->Rules().Count() == 0)
        throw EKestrunError(QStringLiteral("Die Datei \"%1\" enthält keine Regeln.").arg(fileName));
    return model;
}

QList<TRule*> ImportRules(TParameters& target, std::unique_ptr<TParameters> source)
{
    const QList<TRule*> rules = RulesOf(*source);
    QHash<const TBaseObject*, TActionSequence*> copies;
    // Buttons find a sequence by the first with its ID, and so do the copies' buttons.
    QHash<QString, QString> newIDs;
    for (const TActionSequence* sequence : SequencesNeededBy(*source, rules)) {
        std::unique_ptr<TActionSequence> copy = target.CopyActionSequence(*sequence);
        Trace::Value("Main::ImportRule:Importing action sequence", copy->Name());
        copies.insert(sequence, copy.get());
        if (!newIDs.contains(sequence->ID()))
            newIDs.insert(sequence->ID(), copy->ID());
        target.ActionSequences().AddNewItem(copy.release());
    }
    for (TActionSequence* copy : copies)
        PointButtonsAt(*copy, newIDs);

    QList<TRule*> imported;
    for (TRule* rule : rules) {
        // From here on the target owns the rule: it leaves source before source is freed.
        std::unique_ptr<TBaseObject> taken = TakeItem(source->Rules(), rule);
        if (!taken)
            continue;
        QList<TBaseObject*> links;
        for (TBaseObject* linked : rule->MainList()) {
            if (TActionSequence* copy = copies.value(linked))
                links.append(copy);
        }
        rule->SetMainList(links);
        rule->SetID(NewGuidString());
        rule->SetName(target.GetNewRuleName(rule->Name()));
        rule->SetOrvixLine(target.OrvixLine());
        Trace::Object("Main::ImportRule:Importing rule", rule);
        target.Rules().AddNewItem(taken.release());
        imported.append(rule);
    }
    return imported;
}

QStringList ExportRulesToFile(const TParameters& model, const QString& fileName, const QStringList& names)
{
    const std::unique_ptr<TParameters> chosen = model.Clone();
    KeepRulesNamed(*chosen, names);
    WriteExchangeFile(*chosen, fileName);
    QStringList exported;
    for (const TRule* rule : RulesOf(*chosen))
        exported.append(rule->Name());
    return exported;
}

QStringList ImportRulesFromFile(TParameters& target, const QString& fileName, const QStringList& names)
{
    std::unique_ptr<TParameters> source = ReadExchangeFile(fileName);
    KeepRulesNamed(*source, names, fileName);
    QStringList imported;
    for (const TRule* rule : ImportRules(target, std::move(source)))
        imported.append(rule->Name());
    return imported;
}

QString Quoted(const QStringList& names)
{
    QStringList quoted;
    for (const QString& name : names)
        quoted.append(u'"' + name + u'"');
    return quoted.join(QStringLiteral(", "));
}

} // namespace RulesExchange
