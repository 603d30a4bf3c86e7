// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/HistoryCsv.h"

#include <gtest/gtest.h>

TEST(HistoryCsv, FieldsAreQuotedAndFormulasDisarmed)
{
    struct Case
    {
        const char* value;
        const char* field;
    };
    const Case cases[] = {
        {"Anna Berg", "Anna Berg"},
        {"", ""},
        {"Berg, Söhne", "\"Berg, Söhne\""},
        {"Berg; Söhne", "Berg; Söhne"},
        {"Say \"hi\"", "\"Say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+4930123", "\"'+4930123\""},
        {"-1+1", "\"'-1+1\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"\t=1", "\"'\t=1\""},
        {"a=b", "a=b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CsvField(QString::fromUtf8(c.value)), QString::fromUtf8(c.field)) << c.value;
}

TEST(HistoryCsv, FileHasTheHeaderAndOneLinePerCall)
{
    TCallRecord call;
    call.started = QDateTime(QDate(2026, 12, 11), QTime(9, 30, 0));
    call.ended = call.started.addSecs(10);
    call.number = QStringLiteral("=cmd|' /C calc'!A0");
    call.callerName = QStringLiteral("Zoë");
    call.missed = true;
    const QByteArray bytes = HistoryCsv({call});
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "a byte-order mark tells spreadsheets it is UTF-8";
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Beginn,Richtung,Nummer,Name")));
    EXPECT_EQ(lines[1],
              QStringLiteral("11.12.2026 09:30:00,eingehend,\"'=cmd|' /C calc'!A0\",Zoë,,,,11.12.2026 09:30:10,0,ja,"
                             "nein,-1,"));
}
