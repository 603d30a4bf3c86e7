// SPDX-License-Identifier: GPL-3.0-or-later

#include "rulesfile/Parameters.h"

#include "model/ActionSequence.h"
#include "model/BaseAction.h"
#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "model/XmlRecord.h"
#include "parameters/Velquist.h"
#include "platform/AtomicFile.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "platform/UnreadableFiles.h"
#include "telephony/OrvixEvent.h"
#include "trace/Trace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

namespace {

pugi::xml_node Root(const pugi::xml_document& doc)
{
    return doc.document_element();
}

template <typename E>
void WriteSet(TXmlRecordWriter& rule, TFieldName container, TSet<E> set)
{
    TXmlRecordWriter options = rule.Child(container);
    int written = 0;
    for (int ordinal = 0; ordinal < EnumCount<E>(); ++ordinal) {
        if (!set.Contains(E(ordinal)))
            continue;
        TXmlRecordWriter option = options.Item("Option", ++written);
        option.Integer("Value", ordinal);
        option.Text("Name", EnumName(E(ordinal)));
    }
}

// Returns the number of "Option" elements read, whether or not they named a member.
template <typename E>
int ReadSet(const TXmlRecordReader& rule, TFieldName container, TSet<E>& set)
{
    const TNumberedNodes options(rule.Node(container), "Option");
    const auto elements = options.ReadingOrder();
    for (const pugi::xml_node element : elements) {
        const TXmlRecordReader option(element);
        // The ordinal wins over the name: files of other versions may spell names differently.
        const int value = option.Integer("Value");
        if (value >= 0 && value < EnumCount<E>()) {
            set.Include(E(value));
        } else if (const auto member = EnumFromName<E>(option.Text("Name"))) {
            set.Include(*member);
        }
    }
    return int(elements.size());
}

QString NameWithCopySuffix(const TBaseList& list, const QString& currentName)
{
    QString candidate = currentName;
    // Each pass either finds the candidate free or makes it longer; a list of n
    // names can force at most n suffixes.
    bool clash = true;
    while (clash) {
        clash = false;
        for (const TBaseObject* item : list.MainList()) {
            const auto* named = qobject_cast<const TBaseList*>(item);
            if (named && named->Name().compare(candidate, Qt::CaseInsensitive) == 0) {
                candidate += QStringLiteral(" (Kopie)");
                clash = true;
            }
        }
    }
    return candidate;
}

} // namespace

TParameters::TParameters()
    : m_velquist(std::make_shared<TVelquist>())
    , m_orvixLine(std::make_shared<TOrvixLine>())
{
}

// Rules refer to sequences, so the rules go first.
TParameters::~TParameters()
{
    m_orvixEventController.reset();
    m_rules.ClearList();
    m_actionSequences.ClearList();
}

void TParameters::SetActive(bool active)
{
    m_active = active;
    // Always, even when the flag is unchanged: a working copy shares the controller
    // and may have been made while the controller was in the other state.
    if (m_orvixEventController)
        m_orvixEventController->SetActive(active);
}

void TParameters::InitLineManager(LineManagerService* service)
{
    m_orvixEventController = std::make_shared<TOrvixEventController>(service);
    m_orvixEventController->SetActive(m_active);
}

bool TParameters::LoadObjectsFromXMLFile(const QString& fileName)
{
    const QString path = fileName.isEmpty() ? DataPathRulesFile() : fileName;
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    bool loaded = false;
    try {
        // Read here rather than by the parser, which reports every failure to open
        // a file as a file not found.
        QFile file(path);
        QByteArray bytes;
        QString failure;
        // Only a plain file: a pipe or device under that name would block the read.
        if (!info.isFile())
            failure = QStringLiteral("not a regular file");
        else if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        if (failure.isEmpty() && file.error() != QFileDevice::NoError)
            failure = file.errorString();
        if (!failure.isEmpty()) {
            Trace::Value("Parameters::LoadObjectsFromXMLFile:Cannot read file", path + QStringLiteral(": ") + failure);
        } else {
            pugi::xml_document doc;
            // The document refers to the bytes it was parsed from, which live as long as it does.
            const pugi::xml_parse_result parsed =
                doc.load_buffer_inplace(bytes.data(), std::size_t(bytes.size()), XmlParseOptions);
            if (!parsed)
                Trace::Value("Parameters::LoadObjectsFromXMLFile:Cannot read XML",
                             path + QStringLiteral(": ") + QString::fromUtf8(parsed.description()) +
                                 QStringLiteral(" at offset ") + QString::number(parsed.offset));
            else if (Root(doc)) {
                m_xmlFileName = path;
                loaded = LoadDoc(doc);
            }
        }
    } catch (const std::exception& error) {
        Trace::Exception("Parameters::LoadObjectsFromXMLFile", error);
        loaded = false;
    }
    m_xmlFileName.clear();
    if (loaded) {
        UnreadableFiles::Forget(path);
    } else {
        UnreadableFiles::Remember(path);
        Trace::Warning("Parameters::LoadObjectsFromXMLFile:File not loaded", path);
    }
    return loaded;
}

bool TParameters::LoadObjectsFromXMLDoc(const pugi::xml_document& doc)
{
    try {
        if (!Root(doc))
            return false;
        return LoadDoc(doc);
    } catch (const std::exception& error) {
        Trace::Exception("Parameters::LoadObjectsFromXMLDoc", error);
        return false;
    }
}

bool TParameters::LoadDoc(const pugi::xml_document& doc)
{
    // Sequences first: rules refer to them by position.
    return LoadActionSequencesFromXML(doc) && LoadRulesFromXML(doc);
}

bool TParameters::SaveObjectsToXMLFile(const QString& fileName)
{
    const QString path = fileName.isEmpty() ? DataPathRulesFile() : fileName;
    bool saved = false;
    try {
        const QString keptAs = UnreadableFiles::KeepAside(path);
        if (!keptAs.isEmpty())
            Trace::Value("Parameters::SaveObjectsToXMLFile:Unreadable file kept as", keptAs);
        WriteObjectsToXMLFile(path);
        saved = true;
    } catch (const EKestrunError& error) {
        Trace::Value("Parameters::SaveObjectsToXMLFile:Cannot write file",
                     path + QStringLiteral(": ") + error.Message());
    } catch (const std::exception& error) {
        Trace::Exception("Parameters::SaveObjectsToXMLFile", error);
        saved = false;
    }
    return saved && QFileInfo::exists(path);
}

void TParameters::WriteObjectsToXMLFile(const QString& path)
{
    m_xmlFileName = path;
    // The name is for the trace of this write only, whichever way it ends.
    const auto forget = qScopeGuard([this] { m_xmlFileName.clear(); });
    TAtomicFile file(path);
    // Written straight from the objects: the same text as the document
    // GetXMLDoc and the two writers would build, without building it.
    TXmlTextStream stream(file.Device());
    stream.Append(R"(<?xml version="1.0" encoding="UTF-8"?>)"
                  "\n");
    {
        TXmlRecordWriter root(stream, "EventController");
        {
            TXmlRecordWriter all = root.Child("AllActionSequences");
            WriteActionSequences(all);
        }
        TXmlRecordWriter all = root.Child("AllRules");
        WriteRules(all);
    }
    // A write that failed left its cause with the file, which Commit reports.
    if (!stream.Flush())
        Trace::Message("Parameters::SaveObjectsToXMLFile:Writing broke off");
    file.Commit();
}

std::unique_ptr<pugi::xml_document> TParameters::SaveObjectsToXMLDoc() const
{
    try {
        std::unique_ptr<pugi::xml_document> doc = GetXMLDoc();
        if (SaveActionSequencesToXML(*doc, csNoChange) && SaveRulesToXML(*doc, csNoChange))
            return doc;
    } catch (const std::exception& error) {
        Trace::Exception("Parameters::SaveObjectsToXMLDoc", error);
    }
    return nullptr;
}

std::unique_ptr<pugi::xml_document> TParameters::GetXMLDoc()
{
    auto doc = std::make_unique<pugi::xml_document>();
    pugi::xml_node declaration = doc->append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    doc->append_child("EventController");
    return doc;
}

bool TParameters::LoadActionSequencesFromXML(const pugi::xml_document& doc)
{
    Trace::Value("Parameters::LoadActionSequencesFromXML:Load action sequences from XML", m_xmlFileName);
    const pugi::xml_node all = FirstChildIgnoringCase(Root(doc), "AllActionSequences");
    if (!all)
        return false;

    TBaseList loaded;
    TTextPool texts;
    const auto elements = TNumberedNodes(all, "ActionSequence").ReadingOrder();
    loaded.Reserve(int(elements.size()));
    for (const pugi::xml_node element : elements) {
        std::unique_ptr<TActionSequence> sequence = LoadSequence(TXmlRecordReader(element, &texts));
        Trace::Value("Parameters::LoadActionSequencesFromXML:Action sequence:", sequence->Name());
        loaded.AddNewItem(sequence.release());
    }
    const QList<TBaseObject*> previous = m_actionSequences.MainList();
    DropLinksTo(previous);
    m_actionSequences.SetMainList(loaded.MainList());
    loaded.SetFreeObjects(false);
    return true;
}

std::unique_ptr<TActionSequence> TParameters::LoadSequence(const TXmlRecordReader& record)
{
    auto sequence = std::make_unique<TActionSequence>();
    sequence->SetOrvixLine(m_orvixLine);
    if (const pugi::xml_node id = record.Node("ID"))
        sequence->SetID(ReadText(id));
    sequence->SetName(record.Text("Name"));
    if (const pugi::xml_node icon = record.Node("IconIndex"))
        sequence->SetIconIndex(ReadInteger(icon));

    const TNumberedNodes actions(record.Node("AllBaseActions"), "BaseAction");
    const auto actionElements = actions.ReadingOrder();
    sequence->Reserve(int(actionElements.size()));
    for (const pugi::xml_node actionElement : actionElements) {
        std::unique_ptr<TBaseAction> action = ReadBaseAction(record.Record(actionElement));
        if (!action)
            continue;
        Trace::Value("Parameters::LoadActionSequencesFromXML:Action:", action->Caption());
        sequence->AddNewItem(action.release());
    }
    return sequence;
}

bool TParameters::LoadRulesFromXML(const pugi::xml_document& doc)
{
    Trace::Value("Parameters::LoadRulesFromXML:Load rules from XML", m_xmlFileName);
    const pugi::xml_node all = FirstChildIgnoringCase(Root(doc), "AllRules");
    if (!all)
        return false;

    TBaseList loaded;
    TTextPool texts;
    const auto elements = TNumberedNodes(all, "Rule").ReadingOrder();
    loaded.Reserve(int(elements.size()));
    for (const pugi::xml_node element : elements) {
        std::unique_ptr<TRule> rule = LoadRule(TXmlRecordReader(element, &texts));
        Trace::Value("Parameters::LoadRulesFromXML:Rule:", rule->Name());
        loaded.AddNewItem(rule.release());
    }
    m_rules.SetMainList(loaded.MainList());
    loaded.SetFreeObjects(false);
    return true;
}

std::unique_ptr<TRule> TParameters::LoadRule(const TXmlRecordReader& record)
{
    auto rule = std::make_unique<TRule>();
    rule->SetOrvixLine(m_orvixLine);
    if (const pugi::xml_node id = record.Node("ID"))
        rule->SetID(ReadText(id));
    rule->SetName(record.Text("Name"));
    rule->SetActive(record.Boolean("Active"));

    TCallOptionBaseSet base;
    ReadSet(record, "CallOptionBase", base);
    rule->SetCallOptionBase(base);
    TCallOptionInExSet inEx;
    // A rule without any origin option reacts to both.
    if (ReadSet(record, "CallOptionInEx", inEx) == 0)
        inEx = {coIntern, coExtern};
    rule->SetCallOptionInEx(inEx);
    TCallOptionInSet in;
    ReadSet(record, "CallOptionIn", in);
    rule->SetCallOptionIn(in);
    TCallOptionOutSet out;
    ReadSet(record, "CallOptionOut", out);
    rule->SetCallOptionOut(out);
    TCallOptionInNumberSet inNumber;
    ReadSet(record, "CallOptionInNumber", inNumber);
    rule->SetCallOptionInNumber(inNumber);
    TCallOptionOutNumberSet outNumber;
    ReadSet(record, "CallOptionOutNumber", outNumber);
    rule->SetCallOptionOutNumber(outNumber);
    TCallOptionNotificationNumberSet notificationNumber;
    ReadSet(record, "CallOptionNotificationNumber", notificationNumber);
    rule->SetCallOptionNotificationNumber(notificationNumber);

    rule->SetNotificationNumberIn(record.Text("NotificationNumberIn"));
    rule->SetNotificationNumberTo(record.Text("NotificationNumberTo"));
    rule->SetFromNumberIn(record.Text("FromNumberIn"));
    rule->SetToExtensionNumberIn(record.Text("ToExtensionNumberIn"));
    rule->SetToNumberOut(record.Text("ToNumberOut"));
    rule->SetFromExtensionNumberOut(record.Text("FromExtensionNumberOut"));

    const TNumberedNodes links(record.Node("LinkedActionSequences"), "ActionSequence");
    for (const pugi::xml_node link : links.ReadingOrder()) {
        // Index is 1-based; anything that names no sequence is passed over.
        if (TBaseObject* sequence = m_actionSequences.GetObject(record.Record(link).Integer("Index") - 1))
            rule->AddNewItem(sequence);
    }
    return rule;
}

bool TParameters::SaveActionSequencesToXML(pugi::xml_document& doc, TCaseType caseType) const
{
    TXmlRecordWriter root(Root(doc), caseType);
    TXmlRecordWriter all = root.Child("AllActionSequences");
    if (!all.Valid())
        return false;
    WriteActionSequences(all);
    return true;
}

void TParameters::WriteActionSequences(TXmlRecordWriter& all) const
{
    Trace::Value("Parameters::SaveActionSequencesToXML:Save action sequences to XML", m_xmlFileName);
    for (int i = 0; i < m_actionSequences.Count(); ++i) {
        const auto* sequence = m_actionSequences.Item<TActionSequence>(i);
        if (!sequence)
            continue;
        Trace::Value("Parameters::SaveActionSequencesToXML:Action sequence:", sequence->Name());
        TXmlRecordWriter record = all.Item("ActionSequence", i + 1);
        WriteActionSequence(record, sequence);
    }
}

void TParameters::WriteActionSequence(TXmlRecordWriter& record, const TActionSequence* sequence) const
{
    record.Text("ID", sequence->ID());
    record.Text("Name", sequence->Name());
    record.Integer("IconIndex", sequence->IconIndex());
    TXmlRecordWriter actions = record.Child("AllBaseActions");
    for (int a = 0; a < sequence->Count(); ++a) {
        if (const TBaseAction* action = sequence->Action(a)) {
            TXmlRecordWriter actionRecord = actions.Item("BaseAction", a + 1);
            WriteBaseAction(actionRecord, action);
        }
    }
}

bool TParameters::SaveRulesToXML(pugi::xml_document& doc, TCaseType caseType) const
{
    TXmlRecordWriter root(Root(doc), caseType);
    TXmlRecordWriter all = root.Child("AllRules");
    if (!all.Valid())
        return false;
    WriteRules(all);
    return true;
}

void TParameters::WriteRules(TXmlRecordWriter& all) const
{
    Trace::Value("Parameters::SaveRulesToXML:Save rules to XML", m_xmlFileName);
    // Looked up once: a rules file may link thousands of rules to thousands of sequences.
    QHash<const TBaseObject*, int> positions;
    positions.reserve(m_actionSequences.Count());
    for (int i = 0; i < m_actionSequences.Count(); ++i)
        positions.insert(m_actionSequences.GetObject(i), i + 1);
    for (int i = 0; i < m_rules.Count(); ++i) {
        const auto* rule = m_rules.Item<TRule>(i);
        if (!rule)
            continue;
        Trace::Value("Parameters::SaveRulesToXML:Rule:", rule->Name());
        TXmlRecordWriter record = all.Item("Rule", i + 1);
        WriteRule(record, rule, positions);
    }
}

void TParameters::WriteRule(TXmlRecordWriter& record, const TRule* rule,
                            const QHash<const TBaseObject*, int>& positions) const
{
    record.Text("ID", rule->ID());
    record.Text("Name", rule->Name());
    record.Boolean("Active", rule->Active());
    WriteSet(record, "CallOptionBase", rule->CallOptionBase());
    WriteSet(record, "CallOptionInEx", rule->CallOptionInEx());
    WriteSet(record, "CallOptionIn", rule->CallOptionIn());
    WriteSet(record, "CallOptionOut", rule->CallOptionOut());
    WriteSet(record, "CallOptionInNumber", rule->CallOptionInNumber());
    WriteSet(record, "CallOptionOutNumber", rule->CallOptionOutNumber());
    WriteSet(record, "CallOptionNotificationNumber", rule->CallOptionNotificationNumber());
    record.Text("NotificationNumberIn", rule->NotificationNumberIn());
    record.Text("NotificationNumberTo", rule->NotificationNumberTo());
    record.Text("FromNumberIn", rule->FromNumberIn());
    record.Text("ToExtensionNumberIn", rule->ToExtensionNumberIn());
    record.Text("ToNumberOut", rule->ToNumberOut());
    record.Text("FromExtensionNumberOut", rule->FromExtensionNumberOut());

    // Sequences are named by their position at the time of saving; one that has
    // left the list has none, and a made-up position would name another on reading.
    QList<const TBaseList*> linked;
    for (const TBaseObject* item : rule->MainList()) {
        const auto* sequence = qobject_cast<const TBaseList*>(item);
        if (!sequence)
            continue;
        if (!positions.contains(sequence)) {
            Trace::Warning("Parameters::SaveRulesToXML:Linked action sequence not in the list, left out",
                           QStringLiteral("rule \"%1\", sequence \"%2\"").arg(rule->Name(), sequence->Name()));
            continue;
        }
        linked.append(sequence);
    }
    // A single link is written without a number, as files have always held it;
    // without one, "Index" stays empty.
    if (linked.size() <= 1) {
        TXmlRecordWriter link = record.Child("LinkedActionSequences.ActionSequence");
        if (linked.isEmpty()) {
            link.Text("Index", QString());
        } else {
            link.Integer("Index", positions.value(linked.first()));
            link.Text("Name", linked.first()->Name());
        }
        return;
    }
    TXmlRecordWriter links = record.Child("LinkedActionSequences");
    for (int i = 0; i < linked.size(); ++i) {
        TXmlRecordWriter link = links.Item("ActionSequence", i + 1);
        link.Integer("Index", positions.value(linked[i]));
        link.Text("Name", linked[i]->Name());
    }
}

std::unique_ptr<TParameters> TParameters::Clone() const
{
    auto copy = std::make_unique<TParameters>();
    const std::unique_ptr<pugi::xml_document> doc = GetXMLDoc();
    // Names in capitals, as the working copies of the editors have always been made.
    if (SaveActionSequencesToXML(*doc, csUpper) && SaveRulesToXML(*doc, csUpper)) {
        copy->LoadActionSequencesFromXML(*doc);
        copy->LoadRulesFromXML(*doc);
    }
    copy->m_orvixEventController = m_orvixEventController;
    copy->m_velquist = m_velquist;
    copy->m_orvixLine = m_orvixLine;
    copy->m_active = m_active;
    return copy;
}

QString TParameters::GetNewRuleName(const QString& currentName) const
{
    return NameWithCopySuffix(m_rules, currentName);
}

QString TParameters::GetNewActionSequenceName(const QString& currentName) const
{
    return NameWithCopySuffix(m_actionSequences, currentName);
}

void TParameters::CleanTempFiles()
{
    try {
        const QDir folder(UserDataPath());
        const QStringList names =
            folder.entryList({QStringLiteral("{*}.HTMLTemplate.*")}, QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : names) {
            if (!QFile::remove(folder.filePath(name)))
                Trace::Warning("Parameters::CleanTempFiles:Cannot delete", folder.filePath(name));
        }
    } catch (const std::exception& error) {
        Trace::Exception("Parameters::CleanTempFiles", error);
    }
}

void TParameters::DropLinksTo(const QList<TBaseObject*>& sequences)
{
    if (sequences.isEmpty())
        return;
    // The rules still in force must not keep pointers to sequences about to be freed.
    for (TBaseObject* item : m_rules.MainList()) {
        auto* rule = qobject_cast<TRule*>(item);
        if (!rule)
            continue;
        QList<TBaseObject*> kept;
        for (TBaseObject* linked : rule->MainList()) {
            if (!sequences.contains(linked))
                kept.append(linked);
        }
        if (kept.size() != rule->MainList().size())
            rule->SetMainList(kept);
    }
}

bool TParameters::GetNodeValueBoolean(pugi::xml_node node)
{
    return ReadBoolean(node);
}

int TParameters::GetNodeValueInteger(pugi::xml_node node)
{
    return ReadInteger(node);
}

QString TParameters::GetNodeValueString(pugi::xml_node node)
{
    return ReadText(node);
}

QString TParameters::XmlToText(const QString& text)
{
    QString result = text;
    return result.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
}

QString TParameters::TextToXml(const QString& text)
{
    QString result = text;
    return result.replace(u' ', QStringLiteral("&nbsp;"));
}
