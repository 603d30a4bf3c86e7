// SPDX-License-Identifier: GPL-3.0-or-later

// The starter rules a new user gets: a model the program can load, whose
// journal entry finds its template wherever the user's data folder lies.
#include "program/StarterRules.h"

#include "ScopedEnvironment.h"
#include "TestFiles.h"
#include "actions/ActionBalloonMessage.h"
#include "actions/ActionOrvixBlockCaller.h"
#include "actions/ActionOrvixEndCall.h"
#include "actions/ActionOutlookItems.h"
#include "model/ActionSequence.h"
#include "model/IconList.h"
#include "platform/DataPaths.h"
#include "rulesfile/Parameters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const TActionOutlookJournal* JournalAction(const TParameters& model)
{
    const TBaseList& sequences = model.ActionSequences();
    for (int i = 0; i < sequences.Count(); ++i) {
        const auto* sequence = sequences.Item<TActionSequence>(i);
        for (int j = 0; sequence && j < sequence->Count(); ++j) {
            if (const auto* journal = qobject_cast<const TActionOutlookJournal*>(sequence->Action(j)))
                return journal;
        }
    }
    return nullptr;
}

} // namespace

// The folder is text in the rules file: a user name with XML's own characters
// must neither break the file nor change the path.
TEST(StarterRules, AreALoadableModelWhoseTemplateLiesInTheDataFolder)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString configHome = home.filePath(QStringLiteral("A&B <Müller> \"x\""));
    const ScopedEnvironment config("XDG_CONFIG_HOME", QFile::encodeName(configHome));

    StarterRules::Seed(DataPathRulesFile(), UserDataPath());

    TParameters model;
    ASSERT_TRUE(model.LoadObjectsFromXMLFile(DataPathRulesFile()));
    EXPECT_EQ(model.Rules().Count(), 2);
    EXPECT_EQ(model.ActionSequences().Count(), 4);
    const TActionOutlookJournal* journal = JournalAction(model);
    ASSERT_NE(journal, nullptr);
    const QString templateFile = StarterRules::TemplateFolder(UserDataPath()) + QStringLiteral("/gespraechsnotiz.txt");
    EXPECT_EQ(journal->Template(), templateFile);
    EXPECT_TRUE(ReadFile(templateFile).startsWith("Gespräch mit <#saOrvix Value=\"orvixCallerName\">"));
}

TEST(StarterRules, KeepATemplateTheUserChanged)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const ScopedEnvironment config("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    const QString templateFile = StarterRules::TemplateFolder(UserDataPath()) + QStringLiteral("/gespraechsnotiz.txt");
    ASSERT_TRUE(QDir().mkpath(StarterRules::TemplateFolder(UserDataPath())));
    WriteFile(templateFile, "Meine Notiz");

    StarterRules::Seed(DataPathRulesFile(), UserDataPath());

    EXPECT_EQ(ReadFile(templateFile), QByteArray("Meine Notiz"));
    EXPECT_TRUE(QFile::exists(DataPathRulesFile()));
}

// The notification's buttons: "Annehmen" takes the call, "Sperren" blocks the
// caller and ends the call.
TEST(StarterRules, TheCallersNotificationOffersAnnehmenAndSperren)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const ScopedEnvironment config("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    StarterRules::Seed(DataPathRulesFile(), UserDataPath());
    TParameters model;
    ASSERT_TRUE(model.LoadObjectsFromXMLFile(DataPathRulesFile()));

    const auto* notification =
        qobject_cast<const TActionBalloonMessage*>(model.ActionSequences().Item<TActionSequence>(0)->Action(0));
    ASSERT_NE(notification, nullptr);
    QStringList buttons;
    for (const QString& id : notification->AssociatedActionSequences()) {
        const auto* sequence = qobject_cast<const TActionSequence*>(model.ActionSequences().GetObjectByID(id));
        ASSERT_NE(sequence, nullptr) << id.toStdString();
        buttons.append(sequence->Name());
    }
    EXPECT_EQ(buttons, (QStringList {QStringLiteral("Annehmen"), QStringLiteral("Sperren")}));

    const auto* block = qobject_cast<const TActionSequence*>(
        model.ActionSequences().GetObjectByID(notification->AssociatedActionSequences().value(1)));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->IconIndex(), IconList::Instance().IndexOf(u"block"));
    ASSERT_EQ(block->Count(), 2);
    EXPECT_NE(qobject_cast<const TActionOrvixBlockCaller*>(block->Action(0)), nullptr);
    EXPECT_NE(qobject_cast<const TActionOrvixEndCall*>(block->Action(1)), nullptr);
}
