// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/ContactsFolder.h"
#include "pim/OutlookApplication.h"
#include "pim/PimFolders.h"
#include "platform/KestrunError.h"

#include "SettingsSandbox.h"
#include "TestFiles.h"
#include "TraceCapture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Cards(std::initializer_list<const char*> fullNames)
{
    QByteArray content;
    for (const char* name : fullNames)
        content += QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:") + name + "\r\nEND:VCARD\r\n";
    return content;
}

QStringList FullNames(const TContactItems& items)
{
    QStringList names;
    for (int index = 1; index <= items.Count(); ++index)
        names.append(items.Item(index).Property(TContactProperty::FullName));
    return names;
}

} // namespace

TEST(ContactsFolder, ReadsFilesByNameThenCardsInFileOrderThenAddressBooks)
{
    QTemporaryDir folder;
    const QString path = folder.path();
    WriteFile(path + QStringLiteral("/b.vcf"), Cards({"B1"}));
    WriteFile(path + QStringLiteral("/a.vcf"), Cards({"A1", "A2"}));
    WriteFile(path + QStringLiteral("/C.VCF"), Cards({"C1"}));
    WriteFile(path + QStringLiteral("/notes.txt"), Cards({"not a vCard file"}));
    WriteFile(path + QStringLiteral("/.hidden.vcf"), Cards({"hidden"}));
    WriteFile(path + QStringLiteral("/work/z.vcf"), Cards({"Work Z"}));
    WriteFile(path + QStringLiteral("/private/a.vcf"), Cards({"Private A"}));
    WriteFile(path + QStringLiteral("/private/deeper/a.vcf"), Cards({"too deep"}));
    WriteFile(path + QStringLiteral("/.sync/a.vcf"), Cards({"hidden book"}));

    const TContactsFolder contacts = TContactsFolder::Open(path);
    // "C.VCF" sorts before "a.vcf": file names compare by character code, not by locale.
    EXPECT_EQ(FullNames(contacts.Items()), (QStringList {"C1", "A1", "A2", "B1", "Private A", "Work Z"}));
}

TEST(ContactsFolder, AMissingFolderIsAnErrorNamingIt)
{
    QTemporaryDir folder;
    WriteFile(folder.filePath(QStringLiteral("file.vcf")), Cards({"A"}));
    for (const QString& path :
         {folder.filePath(QStringLiteral("missing")), folder.filePath(QStringLiteral("file.vcf"))}) {
        try {
            TContactsFolder::Open(path);
            ADD_FAILURE() << path.toStdString() << " opened";
        } catch (const EKestrunError& error) {
            EXPECT_EQ(error.Message(), QStringLiteral("The contacts folder %1 does not exist").arg(path));
        }
    }
}

TEST(ContactsFolder, BrokenAndOversizedFilesAreSkippedWithAWarning)
{
    QTemporaryDir folder;
    WriteFile(folder.filePath(QStringLiteral("a.vcf")), Cards({"A"}));
    WriteFile(folder.filePath(QStringLiteral("b.vcf")), QByteArray("BEGIN:VCARD\n\0\1\2", 15));
    QFile huge(folder.filePath(QStringLiteral("c.vcf")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(TContactsFolder::MaxFileSize + 1)); // sparse: costs no disk space
    huge.close();
    WriteFile(folder.filePath(QStringLiteral("d.vcf")), Cards({"D"}));
    TraceCapture trace;
    EXPECT_EQ(FullNames(TContactsFolder::Open(folder.path()).Items()), (QStringList {"A", "D"}));
    EXPECT_TRUE(trace.Has(QStringLiteral("VCardReader::ReadVCards:Card skipped")));
    EXPECT_TRUE(trace.LastValue(QStringLiteral("ContactsFolder::Open:File skipped")).contains(QStringLiteral("c.vcf")));
}

TEST(OutlookApplication, ConnectOpensTheContactsFolderOfTheSettings)
{
    const SettingsSandbox settings;
    QTemporaryDir folder;
    WriteFile(folder.filePath(QStringLiteral("a.vcf")), Cards({"Anna"}));
    settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                           "[PIM]\nContactsFolder=" + folder.path().toUtf8() + "\n");
    ASSERT_EQ(PimFolderPath(TPimFolderKind::Contacts), folder.path());

    TOutlookApplication application = GetOutlookApplication();
    EXPECT_FALSE(application.IsConnected());
    EXPECT_THROW(application.GetDefaultContactsFolder(), EKestrunError);
    application.Connect();
    EXPECT_EQ(FullNames(application.GetDefaultContactsFolder().Items()), QStringList {"Anna"});
    application.Disconnect();
    EXPECT_FALSE(application.IsConnected());
    EXPECT_THROW(application.GetDefaultContactsFolder(), EKestrunError);

    QDir(folder.path()).removeRecursively();
    EXPECT_THROW(application.Connect(), EKestrunError);
    EXPECT_FALSE(application.IsConnected());
}
