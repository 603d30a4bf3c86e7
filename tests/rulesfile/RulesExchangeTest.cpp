// SPDX-License-Identifier: GPL-3.0-or-later

// Rules passed between users as files: what travels with a rule, what an import
// makes of it, and files that must change nothing.
#include "rulesfile/RulesExchange.h"
#include "RulesFileSupport.h"
#include "actions/ActionBaseMessage.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"

#include <QRegularExpression>

#include <sys/stat.h>

namespace {

const QString DemoRules = QStringLiteral(KESTRUN_TEST_DATA "/../../tools/demo/rules.xml");

// The demo's rules: "Externer Anruf" runs "Anrufer nachschlagen", whose notification
// offers "Kundenkarte" and "Annehmen"; "Externes Gespräch beendet" runs "Gesprächsnotiz".
std::unique_ptr<TParameters> DemoModel()
{
    auto model = std::make_unique<TParameters>();
    EXPECT_TRUE(model->LoadObjectsFromXMLFile(DemoRules));
    return model;
}

TActionSequence* SequenceNamed(const TParameters& model, const QString& name)
{
    for (TBaseObject* item : model.ActionSequences().MainList()) {
        if (auto* sequence = qobject_cast<TActionSequence*>(item); sequence && sequence->Name() == name)
            return sequence;
    }
    return nullptr;
}

TActionBaseMessage* FirstMessage(const TActionSequence& sequence)
{
    for (TBaseObject* item : sequence.MainList()) {
        if (auto* message = qobject_cast<TActionBaseMessage*>(item))
            return message;
    }
    return nullptr;
}

// Every button of the model as "sequence: offered sequence, ...", the offered ones
// found as a run finds them: by ID.
QStringList Buttons(const TParameters& model)
{
    QStringList buttons;
    for (TBaseObject* item : model.ActionSequences().MainList()) {
        const auto* sequence = qobject_cast<const TActionSequence*>(item);
        for (TBaseObject* action : sequence->MainList()) {
            const auto* message = qobject_cast<const TActionBaseMessage*>(action);
            if (!message)
                continue;
            QStringList offered;
            for (const QString& id : message->AssociatedActionSequences()) {
                const auto* target = qobject_cast<const TBaseList*>(model.ActionSequences().GetObjectByID(id));
                offered.append(target ? target->Name() : QStringLiteral("(none)"));
            }
            buttons.append(sequence->Name() + QStringLiteral(": ") + offered.join(QStringLiteral(", ")));
        }
    }
    return buttons;
}

// The model as its file, without the IDs (and the buttons, which name IDs: see Buttons).
QString TextWithoutIDs(const TParameters& model)
{
    static const QRegularExpression ids(QStringLiteral("<ID>[^<]*</ID>|<AssociatedActionSequences>[^<]*<"));
    return QString::fromStdString(SavedText(model)).replace(ids, QString());
}

QStringList IDs(const TParameters& model)
{
    static const QRegularExpression id(QStringLiteral("<ID>([^<]*)</ID>"));
    QStringList ids;
    const QString text = QString::fromStdString(SavedText(model));
    for (const QRegularExpressionMatch& match : id.globalMatch(text))
        ids.append(match.captured(1));
    return ids;
}

QString ErrorOf(const std::function<void()>& step)
{
    try {
        step();
    } catch (const EKestrunError& error) {
        return error.Message();
    }
    return {};
}

using RulesExchangeFile = FileTest;

} // namespace

// The sequences a rule runs travel with it, and so do those that the buttons of
// their notifications offer, and theirs in turn; nothing else does.
TEST_F(RulesExchangeFile, ARuleTravelsWithEverySequenceItRunsOrOffers)
{
    struct Case
    {
        QStringList rules;
        bool customerCardOffersNote;
        QStringList sequences;
    };
    const Case cases[] {
        {{QStringLiteral("Externer Anruf")},
         false,
         {QStringLiteral("Anrufer nachschlagen"), QStringLiteral("Kundenkarte"), QStringLiteral("Annehmen")}},
        {{QStringLiteral("Externer Anruf")},
         true,
         {QStringLiteral("Anrufer nachschlagen"), QStringLiteral("Kundenkarte"), QStringLiteral("Annehmen"),
          QStringLiteral("Gesprächsnotiz")}},
        {{QStringLiteral("Externes Gespräch beendet")}, false, {QStringLiteral("Gesprächsnotiz")}},
        {{QStringLiteral("Ohne Sequenz")}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rules.join(u',').toStdString() + (c.customerCardOffersNote ? " (card offers note)" : ""));
        const std::unique_ptr<TParameters> model = DemoModel();
        auto* bare = new TRule;
        bare->SetName(QStringLiteral("Ohne Sequenz"));
        model->Rules().AddNewItem(bare);
        if (c.customerCardOffersNote)
            FirstMessage(*SequenceNamed(*model, QStringLiteral("Kundenkarte")))
                ->SetAssociatedActionSequences({SequenceNamed(*model, QStringLiteral("Gesprächsnotiz"))->ID()});
        const std::string before = SavedText(*model);

        const std::unique_ptr<TParameters> chosen = model->Clone();
        RulesExchange::KeepRulesNamed(*chosen, c.rules);
        const QString file = FilePath(QStringLiteral("export.xml"));
        RulesExchange::WriteExchangeFile(*chosen, file);

        EXPECT_EQ(SavedText(*model), before) << "the model exported from stays as it is";
        const std::unique_ptr<TParameters> exported = RulesExchange::ReadExchangeFile(file);
        EXPECT_EQ(Names(exported->Rules()), c.rules);
        EXPECT_EQ(Names(exported->ActionSequences()), c.sequences);
        // An export keeps the IDs: the same file may be exported again and compared.
        EXPECT_EQ(exported->Rules().Item<TRule>(0)->ID(), chosen->Rules().Item<TRule>(0)->ID());
    }
}

TEST_F(RulesExchangeFile, ExportThenImportIntoAnEmptyProfileGivesAnEqualModel)
{
    const std::unique_ptr<TParameters> model = DemoModel();
    ASSERT_FALSE(Buttons(*model).isEmpty());
    const QString file = FilePath(QStringLiteral("export.xml"));
    RulesExchange::WriteExchangeFile(*model, file);

    TParameters empty;
    const QList<TRule*> imported = RulesExchange::ImportRules(empty, RulesExchange::ReadExchangeFile(file));

    EXPECT_EQ(imported.size(), 2);
    EXPECT_EQ(TextWithoutIDs(empty), TextWithoutIDs(*model));
    EXPECT_EQ(Buttons(empty), Buttons(*model));
    EXPECT_EQ(
        Buttons(empty),
        (QStringList {QStringLiteral("Anrufer nachschlagen: Kundenkarte, Annehmen"), QStringLiteral("Kundenkarte: ")}));
    for (const TRule* rule : imported)
        EXPECT_EQ(rule->OrvixLine(), empty.OrvixLine());
}

// One's own export imported twice: every object is new and has an ID of its own,
// names get " (Kopie)" until they are free, and the buttons of each copy offer
// that import's copies, never the originals.
TEST_F(RulesExchangeFile, ImportingOnesOwnExportTwiceGivesFreshIDsUniqueNamesAndWorkingButtons)
{
    const std::unique_ptr<TParameters> model = DemoModel();
    const QString file = FilePath(QStringLiteral("export.xml"));
    RulesExchange::WriteExchangeFile(*model, file);
    const QStringList originalIDs = IDs(*model);
    const qsizetype exportedIDs = IDs(*RulesExchange::ReadExchangeFile(file)).size();

    for (int i = 0; i < 2; ++i)
        RulesExchange::ImportRules(*model, RulesExchange::ReadExchangeFile(file));

    const QString copy = QStringLiteral(" (Kopie)");
    const QString call = QStringLiteral("Externer Anruf");
    const QString end = QStringLiteral("Externes Gespräch beendet");
    EXPECT_EQ(Names(model->Rules()),
              (QStringList {call, end, call + copy, end + copy, call + copy + copy, end + copy + copy}));
    EXPECT_EQ(Names(model->ActionSequences()).size(), 12);
    EXPECT_EQ(Names(model->ActionSequences()).at(4), QStringLiteral("Anrufer nachschlagen") + copy);
    EXPECT_EQ(
        Buttons(*model),
        (QStringList {QStringLiteral("Anrufer nachschlagen: Kundenkarte, Annehmen"), QStringLiteral("Kundenkarte: "),
                      QStringLiteral("Anrufer nachschlagen (Kopie): Kundenkarte (Kopie), Annehmen (Kopie)"),
                      QStringLiteral("Kundenkarte (Kopie): "),
                      QStringLiteral("Anrufer nachschlagen (Kopie) (Kopie): Kundenkarte (Kopie) (Kopie), "
                                     "Annehmen (Kopie) (Kopie)"),
                      QStringLiteral("Kundenkarte (Kopie) (Kopie): ")}));
    EXPECT_EQ(RuleAt(*model, 4)->MainList(), QList<TBaseObject*> {SequenceAt(*model, 8)});

    const QStringList ids = IDs(*model);
    qsizetype fresh = 0;
    for (const QString& id : ids) {
        if (originalIDs.contains(id))
            continue;
        ++fresh;
        EXPECT_EQ(ids.count(id), 1) << id.toStdString();
    }
    EXPECT_EQ(fresh, 2 * exportedIDs);

    // And the result survives the rules file.
    TParameters reloaded;
    ASSERT_TRUE(reloaded.LoadObjectsFromXMLDoc(*model->SaveObjectsToXMLDoc()));
    EXPECT_EQ(Buttons(reloaded), Buttons(*model));
}

// A button whose sequence is not in the file offers nothing after the import,
// even when the model imported into has a sequence with that ID.
TEST_F(RulesExchangeFile, AButtonWhoseSequenceIsMissingFromTheFileIsDropped)
{
    const std::unique_ptr<TParameters> model = DemoModel();
    const QString file = FilePath(QStringLiteral("export.xml"));
    RulesExchange::WriteExchangeFile(*model, file);
    QByteArray text = ReadFile(file);
    const QByteArray cardID = SequenceNamed(*model, QStringLiteral("Kundenkarte"))->ID().toUtf8();
    // The card's sequence is there under another ID: the button's ID names nothing in the file.
    text.replace(QByteArray("<ID>" + cardID + "</ID>"), "<ID>{00000000-0000-0000-0000-000000000000}</ID>");
    ASSERT_NO_FATAL_FAILURE(WriteFile(file, text));

    RulesExchange::ImportRules(*model, RulesExchange::ReadExchangeFile(file));
    EXPECT_EQ(Buttons(*model).at(2), QStringLiteral("Anrufer nachschlagen (Kopie): Annehmen (Kopie)"));
}

TEST_F(RulesExchangeFile, ChoosingRulesByNameNamesEveryNameThatIsNoRules)
{
    struct Case
    {
        QStringList names;
        QString fileName;
        QStringList kept;
        QString error;
    };
    const QString call = QStringLiteral("Externer Anruf");
    const QString end = QStringLiteral("Externes Gespräch beendet");
    const Case cases[] {
        {{}, {}, {call, end}, {}},
        {{end}, {}, {end}, {}},
        {{end, call, end}, {}, {call, end}, {}},
        {{QStringLiteral("externer anruf")},
         {},
         {call, end},
         QStringLiteral("Es gibt keine Regel namens \"externer anruf\".")},
        {{call, QStringLiteral("A"), QStringLiteral("B\n")},
         QStringLiteral("/tmp/x.xml"),
         {call, end},
         QStringLiteral("Die Datei \"/tmp/x.xml\" enthält keine Regeln namens \"A\", \"B\n\".")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.join(u',').toStdString());
        const std::unique_ptr<TParameters> model = DemoModel();
        EXPECT_EQ(ErrorOf([&] { RulesExchange::KeepRulesNamed(*model, c.names, c.fileName); }), c.error);
        EXPECT_EQ(Names(model->Rules()), c.kept);
    }
}

// Whatever is wrong with the file is said with its name, and nothing is taken from it.
TEST_F(RulesExchangeFile, AFileThatIsNoRulesFileOrIsBrokenIsAClearErrorNamingIt)
{
    const QString pipe = FilePath(QStringLiteral("pipe.xml"));
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    QFile huge(FilePath(QStringLiteral("huge %2.xml")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(RulesExchange::MaxFileSize + 1));
    huge.close();
    const auto write = [this](const char* name, const QByteArray& content) {
        WriteFile(FilePath(QString::fromUtf8(name)), content);
        return FilePath(QString::fromUtf8(name));
    };
    struct Case
    {
        QString file;
        QString says;
    };
    const Case cases[] {
        {FilePath(QStringLiteral("missing.xml")), QStringLiteral("gibt es nicht")},
        {Folder(), QStringLiteral("keine gewöhnliche Datei")},
        {pipe, QStringLiteral("keine gewöhnliche Datei")},
        {huge.fileName(), QStringLiteral("zu groß")},
        {TestDataFile(QStringLiteral("broken_not_xml.xml")), QStringLiteral("beschädigt")},
        {TestDataFile(QStringLiteral("broken_truncated.xml")), QStringLiteral("beschädigt")},
        {TestDataFile(QStringLiteral("broken_empty.xml")), QStringLiteral("beschädigt")},
        {TestDataFile(QStringLiteral("broken_no_rules.xml")), QStringLiteral("keine Regeldatei")},
        {TestDataFile(QStringLiteral("broken_no_sequences.xml")), QStringLiteral("keine Regeldatei")},
        {write("settings.xml", "<?xml version=\"1.0\"?><UserSettings><AllActionSequences/><AllRules/></UserSettings>"),
         QStringLiteral("keine Regeldatei")},
        {write("empty.xml", "<EventController><AllActionSequences/><AllRules/></EventController>"),
         QStringLiteral("enthält keine Regeln")},
        // Names that look like the message's own placeholders stay as they are (so does "huge %2.xml").
        {write("kaputt %3 %2.xml", "<EventController><AllRules>"), QStringLiteral("beschädigt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const QString error = ErrorOf([&] { RulesExchange::ReadExchangeFile(c.file); });
        EXPECT_TRUE(error.contains(u'"' + c.file + u'"')) << error.toStdString();
        EXPECT_TRUE(error.contains(c.says)) << error.toStdString();
    }
}

TEST_F(RulesExchangeFile, AnExportThatCannotBeWrittenSaysWhyAndLeavesNoFile)
{
    const std::unique_ptr<TParameters> model = DemoModel();
    const QString file = FilePath(QStringLiteral("missing folder/export.xml"));
    const QString error = ErrorOf([&] { RulesExchange::WriteExchangeFile(*model, file); });
    EXPECT_TRUE(error.startsWith(QStringLiteral("Die Regeln konnten nicht in die Datei \"") + file))
        << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file));

    // The rules file itself would lose every rule that was not chosen.
    ASSERT_TRUE(model->SaveObjectsToXMLFile(QString()));
    const QByteArray rules = ReadFile(DataPathRulesFile());
    RulesExchange::KeepRulesNamed(*model, {QStringLiteral("Externer Anruf")});
    EXPECT_TRUE(ErrorOf([&] {
                    RulesExchange::WriteExchangeFile(*model, DataPathRulesFile());
                }).contains(QStringLiteral("eigene Regeldatei")));
    EXPECT_EQ(ReadFile(DataPathRulesFile()), rules);

    TParameters none;
    EXPECT_FALSE(ErrorOf([&] { RulesExchange::WriteExchangeFile(none, FilePath(QStringLiteral("x.xml"))); }).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(FilePath(QStringLiteral("x.xml"))));
}
