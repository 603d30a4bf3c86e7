// SPDX-License-Identifier: GPL-3.0-or-later

#include "SettingsSandbox.h"
#include "TestFiles.h"

#include "pim/PimItemFile.h"
#include "platform/KestrunError.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Names the fields that differ when a comparison fails.
void PrintTo(const TPimItem& item, std::ostream* out)
{
    *out << "{" << int(item.Kind) << ", " << item.Uid.toStdString() << ", \"" << item.Subject.toStdString() << "\", \""
         << item.Body.toStdString() << "\", " << item.Start.toString(Qt::ISODate).toStdString() << ", "
         << item.End.toString(Qt::ISODate).toStdString() << ", " << item.Due.toString(Qt::ISODate).toStdString() << ", "
         << item.Completed << ", \"" << item.Contact.toStdString() << "\"}";
}

namespace {

// Whole seconds: the file keeps no more.
QDateTime At(const char* text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

TPimItem Item(TPimItemKind kind)
{
    TPimItem item;
    item.Kind = kind;
    // Commas, semicolons, backslashes and line breaks are escaped in the file.
    item.Subject = QStringLiteral("Rückruf: Müller, Jörg; Angebot \\ 2");
    item.Body = QStringLiteral("Anruf von +49 30 1234567\nZeile zwei, mit Komma; Semikolon\r\nЖ € 漢");
    item.Contact = QStringLiteral("Müller, Jörg; \"Vertrieb\" (+49301234567)");
    if (kind == TPimItemKind::Journal || kind == TPimItemKind::Appointment)
        item.Start = At("2026-12-10T14:05:00Z");
    if (kind == TPimItemKind::Appointment)
        item.End = At("2026-12-10T14:35:00Z");
    if (kind == TPimItemKind::Task) {
        item.Due = At("2026-12-11T09:00:00Z");
        item.Completed = true;
    }
    return item;
}

// What a second iCalendar parser reads from the file: component, summary and description.
std::optional<QStringList> ReadWithPythonICalendar(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, icalendar\n"
                                 "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
                                 "for c in cal.subcomponents:\n"
                                 "    sys.stdout.buffer.write((c.name + '\\x1f' + str(c.get('summary')) + '\\x1f'"
                                 " + str(c.get('description'))).encode())\n"),
                  path});
    if (!python.waitForFinished(20000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\x1f');
}

// The message of the project error the step throws; null when it throws none.
template <typename TStep>
QString ErrorOf(TStep step)
{
    try {
        step();
    } catch (const EKestrunError& error) {
        return error.Message();
    }
    return {};
}

bool PythonICalendarInstalled()
{
    return QProcess::execute(QStringLiteral("/usr/bin/python3"),
                             {QStringLiteral("-c"), QStringLiteral("import icalendar")}) == 0;
}

} // namespace

TEST(PimItemFile, EveryKindReadsBackAsWritten)
{
    QTemporaryDir folder;
    for (const TPimItemKind kind :
         {TPimItemKind::Note, TPimItemKind::Journal, TPimItemKind::Appointment, TPimItemKind::Task}) {
        TPimItem item = Item(kind);
        const QString path = WritePimItem(item, folder.filePath(QStringLiteral("items")));
        ASSERT_FALSE(item.Uid.isEmpty());
        EXPECT_EQ(QFileInfo(path).fileName(), item.Uid + QStringLiteral(".ics"));
        EXPECT_EQ(ReadPimItem(path), item) << path.toStdString();
        EXPECT_FALSE(item.Body.contains(u'\r'));
    }
}

TEST(PimItemFile, ComponentsAreTheStandardOnes)
{
    QTemporaryDir folder;
    const std::pair<TPimItemKind, const char*> cases[] = {
        {TPimItemKind::Note, "BEGIN:VJOURNAL"},
        {TPimItemKind::Journal, "BEGIN:VJOURNAL"},
        {TPimItemKind::Appointment, "BEGIN:VEVENT"},
        {TPimItemKind::Task, "BEGIN:VTODO"},
    };
    for (const auto& [kind, component] : cases) {
        TPimItem item = Item(kind);
        const QByteArray text = ReadFile(WritePimItem(item, folder.path()));
        EXPECT_TRUE(text.startsWith("BEGIN:VCALENDAR\r\n")) << text.constData();
        EXPECT_TRUE(text.contains(component)) << component;
        EXPECT_TRUE(text.contains("VERSION:2.0") && text.contains("PRODID:") && text.contains("DTSTAMP:"));
        // A note has no date; that is what tells it from a journal entry.
        EXPECT_EQ(text.contains("DTSTART"), item.Start.isValid() && kind != TPimItemKind::Note) << component;
    }
}

TEST(PimItemFile, AnotherParserReadsTheSameText)
{
    if (!PythonICalendarInstalled())
        GTEST_SKIP() << "python3-icalendar is not installed (scripts/install-deps installs it)";
    QTemporaryDir folder;
    TPimItem item = Item(TPimItemKind::Journal);
    const auto read = ReadWithPythonICalendar(WritePimItem(item, folder.path()));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, (QStringList {QStringLiteral("VJOURNAL"), item.Subject, item.Body}));
    EXPECT_TRUE(item.Body.contains(QStringLiteral("Semikolon\nЖ")));
}

TEST(PimItemFile, ReplacingKeepsOneFileAndAFolderIsMadeWhenMissing)
{
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("a/b/journal"));
    TPimItem item = Item(TPimItemKind::Journal);
    WritePimItem(item, folder);
    item.Subject = QStringLiteral("geändert");
    const QString path = WritePimItem(item, folder);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList {QFileInfo(path).fileName()});
    EXPECT_EQ(ReadPimItem(path).Subject, QStringLiteral("geändert"));
}

TEST(PimItemFile, FailuresNameTheFile)
{
    QTemporaryDir root;
    // A file where the folder should be.
    const QString blocked = root.filePath(QStringLiteral("journal"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(blocked, "x"));
    TPimItem item = Item(TPimItemKind::Journal);
    EXPECT_TRUE(ErrorOf([&] { WritePimItem(item, blocked); }).contains(blocked));

    const QString missing = root.filePath(QStringLiteral("missing.ics"));
    const QString contact = root.filePath(QStringLiteral("contact.ics"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(contact, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:x\r\nEND:VCARD\r\n"));
    const QString freeBusy = root.filePath(QStringLiteral("busy.ics"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(freeBusy,
                                      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VFREEBUSY\r\n"
                                      "UID:x\r\nEND:VFREEBUSY\r\nEND:VCALENDAR\r\n"));
    for (const QString& path : {missing, contact, freeBusy})
        EXPECT_TRUE(ErrorOf([&] { ReadPimItem(path); }).contains(path)) << path.toStdString();
}

TEST(PimItemFile, FoldersComeFromTheSettingsOrBelowTheDataFolder)
{
    SettingsSandbox settings;
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    EXPECT_EQ(PimFolderPath(PimItemFolderKind(TPimItemKind::Appointment)),
              dataHome + QStringLiteral("/kestrun/calendar"));
    EXPECT_EQ(PimFolderPath(PimItemFolderKind(TPimItemKind::Note)), dataHome + QStringLiteral("/kestrun/notes"));
    settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                           "[PIM]\nJournalFolder=/srv/pim/journal/\n");
    EXPECT_EQ(PimFolderPath(PimItemFolderKind(TPimItemKind::Journal)), QStringLiteral("/srv/pim/journal"));
    EXPECT_EQ(PimFolderPath(TPimFolderKind::Tasks), dataHome + QStringLiteral("/kestrun/tasks"));
}
