// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLineManager.h"
#include "ParameterRun.h"
#include "SettingsSandbox.h"
#include "TestActions.h"
#include "TestFiles.h"
#include "TraceCapture.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "platform/KestrunError.h"
#include "trace/MemoryTraceSink.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

const QByteArray AddressBook = "BEGIN:VCARD\r\nVERSION:3.0\r\n"
                               "N:Meier;Anna;;;\r\nFN:Anna Meier\r\nORG:Meier GmbH\r\n"
                               "TEL;TYPE=cell:0171 1111111\r\nTEL;TYPE=home:030 2222222\r\n"
                               "EMAIL:anna@example.org\r\n"
                               "END:VCARD\r\n"
                               "BEGIN:VCARD\r\nVERSION:3.0\r\n"
                               "N:O'Brien;Bernd;;;\r\nFN:Bernd O'Brien\r\nTEL;TYPE=work:030 1234567\r\n"
                               "END:VCARD\r\n"
                               "BEGIN:VCARD\r\nVERSION:3.0\r\n"
                               "N:Kurz;Clara;;;\r\nFN:Clara Kurz\r\nTEL;TYPE=work:+49 30 1234567\r\n"
                               "END:VCARD\r\n";

QByteArray Card(const QByteArray& fullName, const QByteArray& businessNumber)
{
    return "BEGIN:VCARD\nVERSION:4.0\nFN:" + fullName + "\nTEL;TYPE=work:" + businessNumber + "\nEND:VCARD\n";
}

} // namespace

class OutlookAddressbookParameterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LineManagerService::SetInstance(&softphone);
        Trace::AddSink(entries);
        UseFolder(folder.path());
        WriteFile(folder.filePath(QStringLiteral("kontakte.vcf")), AddressBook);
        parameter.SetSearchOptionOrvixValue(QStringLiteral("orvixCallerNumber"));
        parameter.SetParameterValue(QStringLiteral("FullName"));
        parameter.SetOrvixLine(line);
    }

    void TearDown() override
    {
        Trace::RemoveSink(entries);
        LineManagerService::SetInstance(nullptr);
    }

    void UseFolder(const QString& path)
    {
        settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                               "[PIM]\nContactsFolder=" + path.toUtf8() + "\n");
    }

    // The caller's number searched in the field, as a rule's action resolves it.
    QString Lookup(const QString& field, const QString& callerNumber)
    {
        parameter.SetSearchField(field);
        line->SetCallerNumber(callerNumber);
        return Resolve(parameter).result;
    }

    QStringList Values(const QString& title) const
    {
        QStringList values;
        for (const TraceEntry& entry : entries->Entries()) {
            if (entry.title == title)
                values.append(entry.value);
        }
        return values;
    }

    const SettingsSandbox settings;
    QTemporaryDir folder;
    FakeLineManager softphone;
    TraceCapture trace;
    std::shared_ptr<MemoryTraceSink> entries = std::make_shared<MemoryTraceSink>();
    std::shared_ptr<TOrvixLine> line = std::make_shared<TOrvixLine>();
    TParameterOutlookAddressbook parameter;
};

TEST_F(OutlookAddressbookParameterTest, AllSearchesTheFieldsInOrderUpToTheBusinessNumber)
{
    EXPECT_EQ(Lookup(QStringLiteral("All"), QStringLiteral("030 1234567")), QStringLiteral("Bernd O'Brien"));
    QStringList searched;
    for (const char* field :
         {"FirstName", "LastName", "FullName", "CompanyName", "MobileTelephoneNumber", "Email1Address", "Email2Address",
          "Email3Address", "HomeTelephoneNumber", "BusinessTelephoneNumber"})
        searched.append(QStringLiteral("[%1] = \"030 1234567\"").arg(QLatin1String(field)));
    EXPECT_EQ(Values(QStringLiteral("string_SearchString")), searched);
    EXPECT_TRUE(trace.Has(QStringLiteral("boolean_AllFields")));
    EXPECT_TRUE(trace.Has(QStringLiteral("3 Outlook Contacts found")));
    EXPECT_EQ(trace.Count(QStringLiteral("0 contacts found")), 9);
    // Clara's number is the same in its international form.
    EXPECT_TRUE(trace.Has(QStringLiteral("2 contacts found")));
}

TEST_F(OutlookAddressbookParameterTest, TheResultFieldByNameOrDigit)
{
    struct Case
    {
        QString resultField, result;
        bool warned;
    };
    const Case cases[] = {
        {"FullName", "Anna Meier", false},
        {"2", "Anna Meier", false},
        {"0", "Anna", false},
        {"3", "Meier GmbH", false},
        {"4", "0171 1111111", false},
        {"Email1Address", "anna@example.org", false},
        {"9", "", false},
        {"fullname", "", true},
        {"-1", "", true},
        {"10", "", true},
        {"", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resultField.toStdString());
        trace.Clear();
        parameter.SetParameterValue(c.resultField);
        EXPECT_EQ(Lookup(QStringLiteral("LastName"), QStringLiteral("Meier")), c.result);
        EXPECT_EQ(trace.Has(QStringLiteral(
                      "ParameterOutlookAddressbook::GetAddressbookFieldFromParameter:Unknown contact field")),
                  c.warned);
    }
}

TEST_F(OutlookAddressbookParameterTest, TheFirstContactInFileAndCardOrderWins)
{
    QTemporaryDir other;
    UseFolder(other.path());
    WriteFile(other.filePath(QStringLiteral("b.vcf")), Card("Erich", "030 999") + Card("Frida", "030 999"));
    EXPECT_EQ(Lookup(QStringLiteral("BusinessTelephoneNumber"), QStringLiteral("030 999")), QStringLiteral("Erich"));
    WriteFile(other.filePath(QStringLiteral("a.vcf")), Card("Gustav", "030 111") + Card("Hanna", "030 999"));
    EXPECT_EQ(Lookup(QStringLiteral("BusinessTelephoneNumber"), QStringLiteral("030 999")), QStringLiteral("Hanna"));
}

TEST_F(OutlookAddressbookParameterTest, NumbersMatchInTheCanonicalFormOfTheTelephoneSystem)
{
    // The softphone makes "0301234567" "+49301234567", Clara's number without blanks.
    EXPECT_EQ(Lookup(QStringLiteral("BusinessTelephoneNumber"), QStringLiteral("0301234567")),
              QStringLiteral("Bernd O'Brien"));
    WriteFile(folder.filePath(QStringLiteral("kontakte.vcf")), Card("Clara", "+49 30 1234567"));
    EXPECT_EQ(Lookup(QStringLiteral("BusinessTelephoneNumber"), QStringLiteral("030 123 4567")),
              QStringLiteral("Clara"));
    EXPECT_EQ(Lookup(QStringLiteral("BusinessTelephoneNumber"), QStringLiteral("030 123 4568")), QString());
}

// The softphone converts the address book's numbers once per change of the
// book, not at every lookup, and the trace sums the lookup up instead of
// naming every number.
TEST_F(OutlookAddressbookParameterTest, StoredNumbersAreConvertedOncePerChangeOfTheAddressBook)
{
    const QString field = QStringLiteral("BusinessTelephoneNumber");
    int seen = softphone.conversions;
    const auto converted = [&] { return softphone.conversions - std::exchange(seen, softphone.conversions); };
    EXPECT_EQ(Lookup(field, QStringLiteral("0301234567")), QStringLiteral("Bernd O'Brien"));
    EXPECT_EQ(converted(), 4 + 1) << "the four stored numbers and the caller's";
    EXPECT_EQ(Lookup(field, QStringLiteral("+49 30 1234567")), QStringLiteral("Bernd O'Brien"));
    EXPECT_EQ(Lookup(field, QStringLiteral("030 9999")), QString());
    EXPECT_EQ(converted(), 2) << "only the callers' numbers";
    EXPECT_EQ(trace.Count(QStringLiteral("OrvixLine::ConvertNumber:Number before conversion")), 0);
    EXPECT_EQ(Values(QStringLiteral("ContactIndex::CachedContactIndex:Contacts indexed")), QStringList {"3"});

    WriteFile(folder.filePath(QStringLiteral("kontakte.vcf")), Card("Clara", "+49 30 1234567"));
    EXPECT_EQ(Lookup(field, QStringLiteral("030 123 4567")), QStringLiteral("Clara"));
    EXPECT_EQ(converted(), 1 + 1) << "the changed book is converted anew";
    WriteFile(folder.filePath(QStringLiteral("weitere.vcf")), Card("Dora", "030 5555"));
    EXPECT_EQ(Lookup(field, QStringLiteral("0305555")), QStringLiteral("Dora"));
    EXPECT_EQ(Values(QStringLiteral("ContactIndex::CachedContactIndex:Contacts indexed")),
              (QStringList {"3", "1", "2"}));
}

// A lookup reads and searches the book on a worker: the program goes on with
// its events (other calls, windows) meanwhile.
TEST_F(OutlookAddressbookParameterTest, TheProgramGoesOnWhileTheAddressBookIsSearched)
{
    bool wentOn = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&wentOn] { wentOn = true; }, Qt::QueuedConnection);
    EXPECT_EQ(Lookup(QStringLiteral("All"), QStringLiteral("030 1234567")), QStringLiteral("Bernd O'Brien"));
    EXPECT_TRUE(wentOn) << "the event loop turned during the lookup";
}

// A variable can hold what a caller sent: quotes in it are searched for, never
// obeyed, and blanks around it are dropped as for the test of emptiness.
TEST_F(OutlookAddressbookParameterTest, UserVariableValuesAreSearchedLiterallyAndTrimmed)
{
    parameter.SetSearchOptionUser(true);
    parameter.SetSearchOptionUserValue(QStringLiteral("Name"));
    parameter.SetSearchField(QStringLiteral("LastName"));
    struct Case
    {
        QString value, result;
    };
    const Case cases[] = {
        {"O'Brien", "Bernd O'Brien"},
        {"  Meier\t", "Anna Meier"},
        {R"(x" OR "1" = "1)", ""},
        {R"(" OR [LastName] <> ")", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        line->SetUserVariable(QStringLiteral("Name"), c.value);
        EXPECT_EQ(Resolve(parameter).result, c.result);
    }
}

TEST_F(OutlookAddressbookParameterTest, AnEmptySearchValueLeavesTheStoreAlone)
{
    UseFolder(folder.filePath(QStringLiteral("missing")));
    for (const QString& number : {QString(), QStringLiteral("  ")}) {
        EXPECT_EQ(Lookup(QStringLiteral("All"), number), QString());
        EXPECT_FALSE(trace.Has(QStringLiteral("string_SearchString")));
    }
}

TEST_F(OutlookAddressbookParameterTest, NothingFoundIsEmptyAndNeverCancels)
{
    parameter.SetCancelOnNoResult(true);
    parameter.SetSearchField(QStringLiteral("All"));
    line->SetCallerNumber(QStringLiteral("089 555"));
    const Resolution resolution = Resolve(parameter);
    EXPECT_EQ(resolution.result, QString());
    EXPECT_FALSE(resolution.cancelled);
    EXPECT_EQ(trace.Count(QStringLiteral("0 contacts found")), 10);
}

TEST_F(OutlookAddressbookParameterTest, WithoutALineObjectNothingIsSearched)
{
    TParameterOutlookAddressbook alone;
    alone.SetSearchField(QStringLiteral("All"));
    alone.SetParameterValue(QStringLiteral("FullName"));
    EXPECT_EQ(Resolve(alone).result, QString());
    EXPECT_TRUE(
        trace.Has(QStringLiteral("ParameterOutlookAddressbook::GetParamResult:OrvixLine = nil -> Exit Function")));
    EXPECT_FALSE(trace.Has(QStringLiteral("SearchValue")));
}

// A missing contacts folder and a field that names no contact property ("all" is
// not "All") are errors of the store: the action's parameter resolution traces
// them and goes on with an empty result.
TEST_F(OutlookAddressbookParameterTest, StoreErrorsAreTracedByTheParameterResolution)
{
    const QString missing = folder.filePath(QStringLiteral("missing"));
    struct Case
    {
        QString field, folder, named;
    };
    const Case cases[] = {
        {"All", missing, missing},
        {"all", folder.path(), "[all]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field.toStdString());
        UseFolder(c.folder);
        parameter.SetSearchField(c.field);
        line->SetCallerNumber(QStringLiteral("030 1234567"));
        QStringList log;
        RecordingAction action(QStringLiteral("Nachricht"), log);
        action.SetFreeObjects(false);
        action.AddNewItem(&parameter);
        TActionContext context(line);
        action.ExecuteAction(context);

        EXPECT_EQ(action.Texts(), QStringList {QString()});
        EXPECT_TRUE(Values(QStringLiteral("BaseAction::ExecuteAction")).last().contains(c.named));
    }
}
