// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeUserInterface.h"
#include "SettingsSandbox.h"
#include "TemplateTestSupport.h"
#include "TestActions.h"
#include "TraceCapture.h"

#include "actions/ActionOutlookContact.h"
#include "actions/ActionOutlookItems.h"
#include "actions/ActionStopper.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterOrvix.h"
#include "pim/PimItemDrafts.h"
#include "pim/PimItemFile.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// A call from Anna Berg with the action and what the test puts after it.
struct ItemRun : SequenceRun
{
    explicit ItemRun(TBaseAction* action, TBaseObject* next = nullptr)
        : SequenceRun(action, next)
    {
        line->SetCallerName(QStringLiteral("Anna Berg"));
        line->SetCallerNumber(QStringLiteral("+49301234567"));
    }
};

// Stops the sequence when the action before it failed.
TActionStopper* StopOnFailure()
{
    auto* stopper = new TActionStopper;
    stopper->SetBlockOnSuccess(false);
    stopper->SetBlockAllActions(true);
    return stopper;
}

TParameterOrvix* CallValue(const char* name)
{
    auto* parameter = new TParameterOrvix;
    parameter->SetParameterValue(QString::fromLatin1(name));
    return parameter;
}

QStringList ItemFiles(TPimFolderKind kind)
{
    const QDir folder(PimFolderPath(kind));
    QStringList paths;
    for (const QString& name : folder.entryList({QStringLiteral("*.ics")}, QDir::Files))
        paths.append(folder.filePath(name));
    return paths;
}

void RemoveStore()
{
    QDir(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/kestrun")).removeRecursively();
}

} // namespace

TEST(ItemActions, JournalEntryFromTheTemplateIsSavedWhenTheUserSavesIt)
{
    RemoveStore();
    TemplateFolder templates;
    auto* journal = new TActionOutlookJournal;
    journal->SetTemplate(templates.Write(QStringLiteral("journal.txt"),
                                         "Anruf von <#saOrvix Value=\"orvixCallerName\">\n"
                                         "Nummer: <#saOrvix Value=\"orvixCallerNumber\">\n"));
    journal->AddNewItem(CallValue("orvixCallerName"));
    journal->AddNewItem(CallValue("orvixCallerNumber"));
    FakeUserInterface ui;
    ui.itemWindowEdit = [](TPimItem& item) { item.Body += QStringLiteral("Rückruf morgen"); };
    TraceCapture trace;
    ItemRun run(journal);
    run.Run();

    ASSERT_EQ(ui.itemWindows.size(), 1u);
    const TPimItem& shown = ui.itemWindows.front().item;
    EXPECT_EQ(ui.itemWindows.front().caller, QStringLiteral("Anna Berg (+49301234567)"));
    EXPECT_EQ(shown.Kind, TPimItemKind::Journal);
    EXPECT_EQ(shown.Subject, QStringLiteral("Anruf von Anna Berg"));
    EXPECT_TRUE(shown.Start.isValid());
    const QStringList files = ItemFiles(TPimFolderKind::Journal);
    ASSERT_EQ(files.size(), 1);
    const TPimItem saved = ReadPimItem(files.front());
    EXPECT_EQ(saved.Kind, TPimItemKind::Journal);
    EXPECT_EQ(saved.Subject, QStringLiteral("Anruf von Anna Berg"));
    EXPECT_EQ(saved.Body, QStringLiteral("Anruf von Anna Berg\nNummer: +49301234567\nRückruf morgen"));
    EXPECT_EQ(run.log, QStringList {QStringLiteral("after")});
    for (const char* title :
         {"TActionOutlookJournal::ExecuteAction: Use Template", "TActionOutlookJournal::ExecuteAction: Open Journal",
          "TAction_OutlookBase::PageProducerHTMLTag: TagString"})
        EXPECT_TRUE(trace.Has(QString::fromLatin1(title))) << title;
    EXPECT_EQ(trace.LastValue("TActionOutlookJournal::ExecuteAction: Open Journal: Saved"), files.front());
}

TEST(ItemActions, EachKindGoesToItsFolderAndDiscardedItemsNowhere)
{
    RemoveStore();
    struct Case
    {
        TBaseAction* action;
        TPimItemKind kind;
        TPimFolderKind folder;
        const char* openTitle;
    };
    const Case cases[] = {
        {new TActionOutlookNote, TPimItemKind::Note, TPimFolderKind::Notes,
         "TActionOutlookNote::ExecuteAction: Open Note"},
        {new TActionOutlookCalendar, TPimItemKind::Appointment, TPimFolderKind::Calendar,
         "TActionOutlookCalendar::ExecuteAction: Open Calendar"},
        {new TActionOutlookTask, TPimItemKind::Task, TPimFolderKind::Tasks,
         "TActionOutlookTask::ExecuteAction: Open Task"},
    };
    for (const Case& item : cases) {
        // A new action names no template: the item starts empty instead of failing.
        FakeUserInterface ui;
        TraceCapture trace;
        ItemRun run(item.action);
        ui.itemWindowAnswer = false;
        run.Run();
        ASSERT_EQ(ui.itemWindows.size(), 1u) << item.openTitle;
        EXPECT_EQ(ui.itemWindows.front().item.Kind, item.kind);
        EXPECT_TRUE(ui.itemWindows.front().item.Body.isEmpty());
        EXPECT_TRUE(ItemFiles(item.folder).isEmpty()) << item.openTitle;
        EXPECT_TRUE(trace.Has(QString::fromLatin1(item.openTitle)));
        EXPECT_TRUE(trace.Has(QString::fromLatin1(item.openTitle) + QStringLiteral(": Discarded by the user")));

        ui.itemWindowAnswer = true;
        run.Run();
        EXPECT_EQ(ItemFiles(item.folder).size(), 1) << item.openTitle;
        EXPECT_EQ(run.log.size(), 2);
    }
}

// "Beenden", SIGTERM or the session's end while the user types: nothing typed is lost.
TEST(ItemActions, AnItemOpenAtTheProgramsEndIsKeptAsADraftNotDiscarded)
{
    RemoveStore();
    auto* journal = new TActionOutlookJournal;
    journal->SetTemplateActive(false);
    FakeUserInterface ui;
    ui.itemWindowEdit = [&ui](TPimItem& item) {
        item.Subject = QStringLiteral("Rückruf ../../x; ok");
        item.Body = QStringLiteral("Angebot\r\nbis Freitag");
        ui.CloseMessageWindows();
    };
    TraceCapture trace;
    ItemRun run(journal);
    run.Run();

    EXPECT_TRUE(ItemFiles(TPimFolderKind::Journal).isEmpty()) << "not saved: the user did not say so";
    const TPimItemDrafts drafts = ReadPimItemDrafts();
    ASSERT_EQ(drafts.Drafts.size(), 1u);
    const TPimItem& kept = drafts.Drafts.front().Item;
    EXPECT_EQ(kept.Kind, TPimItemKind::Journal);
    EXPECT_EQ(kept.Subject, QStringLiteral("Rückruf ../../x; ok"));
    EXPECT_EQ(kept.Body, QStringLiteral("Angebot\r\nbis Freitag"));
    EXPECT_EQ(kept.Contact, QStringLiteral("Anna Berg (+49301234567)"));
    EXPECT_EQ(kept.Start.toSecsSinceEpoch(), ui.itemWindows.front().item.Start.toSecsSinceEpoch());
    const QString open = QStringLiteral("TActionOutlookJournal::ExecuteAction: Open Journal");
    EXPECT_EQ(trace.LastValue(open + QStringLiteral(": Closed at the program's end, kept as a draft")),
              drafts.Drafts.front().Path);
    EXPECT_FALSE(trace.Has(open + QStringLiteral(": Discarded by the user")));
    EXPECT_EQ(run.log, QStringList {QStringLiteral("after")});

    // A window closed before anything was typed leaves nothing behind.
    RemoveStore();
    auto* note = new TActionOutlookNote;
    note->SetTemplateActive(false);
    ui.itemWindowEdit = [&ui](TPimItem&) { ui.CloseMessageWindows(); };
    ItemRun empty(note);
    empty.Run();
    EXPECT_TRUE(ReadPimItemDrafts().Drafts.empty());
    EXPECT_TRUE(trace.Has(QStringLiteral(
        "TActionOutlookNote::ExecuteAction: Open Note: Closed at the program's end, nothing typed to keep")));
}

TEST(ItemActions, CancelledByAParameterOpensNothing)
{
    auto* task = new TActionOutlookTask;
    task->AddNewItem(new ScriptedParameter(QString(), ScriptedParameter::Cancel));
    FakeUserInterface ui;
    TraceCapture trace;
    ItemRun run(task);
    run.Run();
    EXPECT_TRUE(ui.itemWindows.empty());
    EXPECT_TRUE(trace.Has(QStringLiteral("TActionOutlookTask::ExecuteAction: CancelAction")));
    EXPECT_TRUE(run.log.isEmpty());
}

TEST(ItemActions, AnItemThatCannotBeSavedIsToldToTheUserAndFailsTheAction)
{
    SettingsSandbox settings;
    TemplateFolder blocked;
    const QString file = blocked.Write(QStringLiteral("notes"), "not a folder");
    settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                           "[PIM]\nNotesFolder=" + file.toUtf8() + "\n");
    auto* note = new TActionOutlookNote;
    note->SetTemplateActive(false);
    FakeUserInterface ui;
    ItemRun run(note, StopOnFailure());
    run.Run();
    ASSERT_EQ(ui.saveFailures.size(), 1) << "shown in the item window";
    EXPECT_TRUE(ui.saveFailures.front().startsWith(QStringLiteral("Der Eintrag konnte nicht gespeichert werden.")));
    EXPECT_TRUE(ui.saveFailures.front().contains(file));
    EXPECT_TRUE(run.log.isEmpty());
}

TEST(ItemActions, ContactActionNeitherResolvesNorChangesTheOutcome)
{
    auto* parameter = new ScriptedParameter(QStringLiteral("x"));
    auto* contact = new TActionOutlookContact;
    contact->AddNewItem(parameter);
    QStringList log;
    TActionSequence sequence;
    // The failing action's outcome reaches the stopper across the contact action.
    sequence.AddNewItem(new RecordingAction(QStringLiteral("fails"), log, false));
    sequence.AddNewItem(contact);
    sequence.AddNewItem(StopOnFailure());
    sequence.AddNewItem(new RecordingAction(QStringLiteral("after"), log));
    TraceCapture trace;
    sequence.ExecuteActions(std::make_shared<TOrvixLine>());
    EXPECT_EQ(parameter->resolved, 0);
    EXPECT_EQ(log, QStringList {QStringLiteral("fails")});
    EXPECT_TRUE(trace.Has(QStringLiteral("TActionOutlookContact::ExecuteAction")));
}
