// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestFiles.h"

#include "pim/PimFolders.h"
#include "pim/PimItemDrafts.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString DraftsFolder()
{
    return PimFolderPath(TPimFolderKind::ItemDrafts);
}

// Each test starts without drafts.
class PimItemDrafts : public ::testing::Test
{
protected:
    PimItemDrafts() { QDir(DraftsFolder()).removeRecursively(); }
};

const TPimItemDraft* DraftAt(const TPimItemDrafts& drafts, const QString& path)
{
    for (const TPimItemDraft& draft : drafts.Drafts) {
        if (draft.Path == path)
            return &draft;
    }
    return nullptr;
}

} // namespace

// The text of an item comes from a call: whatever it holds, the draft keeps it
// and the file's name is the program's own.
TEST_F(PimItemDrafts, HostileTextRoundTripsAndNeverNamesTheFile)
{
    const QStringList hostile = {
        QStringLiteral("../../../../tmp/kestrun-evil"),
        QStringLiteral("/etc/passwd"),
        QStringLiteral("Zeile eins\nZeile zwei\n"),
        QStringLiteral("Rückruf\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\nBEGIN:VCALENDAR"),
        QStringLiteral("Müller; Jörg, \"GmbH\" \\ Abt.: 2"),
        QStringLiteral("  führende und folgende Leerzeichen\t "),
        QStringLiteral("Faltung ") + QString(120, u'ä') + QStringLiteral(" 漢字 €"),
        QStringLiteral("\n SUMMARY:untergeschoben"),
    };
    const TPimItemKind kinds[] = {TPimItemKind::Note, TPimItemKind::Journal, TPimItemKind::Appointment,
                                  TPimItemKind::Task};
    const QRegularExpression ownName(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\.json$"));
    QStringList paths;
    for (qsizetype index = 0; index < hostile.size(); ++index) {
        TPimItem item;
        item.Kind = kinds[index % 4];
        item.Subject = hostile[index];
        item.Body = hostile[index] + u'\n' + hostile[index];
        item.Contact = hostile[index];
        const QString path = KeepPimItemDraft(item);
        paths.append(path);
        EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(DraftsFolder()).absoluteFilePath());
        EXPECT_TRUE(ownName.match(QFileInfo(path).fileName()).hasMatch()) << path.toStdString();
    }

    const TPimItemDrafts drafts = ReadPimItemDrafts();
    EXPECT_TRUE(drafts.Unreadable.empty());
    ASSERT_EQ(qsizetype(drafts.Drafts.size()), hostile.size());
    for (qsizetype index = 0; index < hostile.size(); ++index) {
        const TPimItemDraft* draft = DraftAt(drafts, paths[index]);
        ASSERT_NE(draft, nullptr) << paths[index].toStdString();
        const QString text = hostile[index];
        EXPECT_EQ(draft->Item.Kind, kinds[index % 4]);
        EXPECT_EQ(draft->Item.Subject, text);
        EXPECT_EQ(draft->Item.Body, text + u'\n' + text);
        EXPECT_EQ(draft->Item.Contact, text);
    }
    EXPECT_EQ(QDir(DraftsFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), hostile.size())
        << "nothing else was made";
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/kestrun-evil")));
}

TEST_F(PimItemDrafts, KeptPrivatelyOnceAndRemovedWhenDone)
{
    TPimItem item;
    item.Kind = TPimItemKind::Task;
    item.Subject = QStringLiteral("Angebot schicken");
    item.Due = QDateTime::fromString(QStringLiteral("2026-12-11T09:00:00Z"), Qt::ISODate);
    const QString path = KeepPimItemDraft(item);
    EXPECT_EQ(QFileInfo(path).permissions() & QFileDevice::Permissions(0x7077),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(QFileInfo(DraftsFolder()).permissions() & QFileDevice::Permissions(0x7077),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // The program ended again while the draft was open: still one draft, the newer text.
    item.Subject = QStringLiteral("Angebot schicken, geändert");
    EXPECT_EQ(KeepPimItemDraft(item), path);
    const TPimItemDrafts drafts = ReadPimItemDrafts();
    ASSERT_EQ(drafts.Drafts.size(), 1u);
    EXPECT_EQ(drafts.Drafts.front().Item.Subject, QStringLiteral("Angebot schicken, geändert"));
    EXPECT_EQ(drafts.Drafts.front().Item.Due, item.Due);

    RemovePimItemDraft(path);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_NO_THROW(RemovePimItemDraft(path)) << "gone already is no failure";
    EXPECT_TRUE(ReadPimItemDrafts().Drafts.empty());
}

TEST_F(PimItemDrafts, AnUnreadableDraftIsMovedAsideNeitherOfferedNorLost)
{
    EXPECT_TRUE(ReadPimItemDrafts().Drafts.empty()) << "no folder yet";
    TPimItem item;
    item.Subject = QStringLiteral("lesbar");
    const QString good = KeepPimItemDraft(item);
    const QString broken = QDir(DraftsFolder()).filePath(QStringLiteral("kaputt.json"));
    const QByteArray brokenText = "{\"kind\": \"journal\", \"subject\": \"abgebr";
    ASSERT_NO_FATAL_FAILURE(WriteFile(broken, brokenText));

    const TPimItemDrafts drafts = ReadPimItemDrafts();
    ASSERT_EQ(drafts.Drafts.size(), 1u);
    EXPECT_EQ(drafts.Drafts.front().Path, good);
    ASSERT_EQ(drafts.Unreadable.size(), 1u);
    const TUnreadablePimItemDraft& unreadable = drafts.Unreadable.front();
    EXPECT_EQ(unreadable.Path, broken);
    EXPECT_TRUE(unreadable.Error.contains(broken));
    EXPECT_TRUE(unreadable.KeptAs.startsWith(DraftsFolder() + QStringLiteral("/unreadable/kaputt.json.unreadable-")))
        << unreadable.KeptAs.toStdString();
    EXPECT_EQ(ReadFile(unreadable.KeptAs), brokenText);
    EXPECT_FALSE(QFileInfo::exists(broken));

    const TPimItemDrafts again = ReadPimItemDrafts();
    EXPECT_EQ(again.Drafts.size(), 1u);
    EXPECT_TRUE(again.Unreadable.empty()) << "told once, then left where it was put";
}
