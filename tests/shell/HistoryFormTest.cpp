// SPDX-License-Identifier: GPL-3.0-or-later

#include "WaitUntil.h"

#include "history/CallHistory.h"
#include "shell/HistoryForm.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TCallRecord Call(const QString& name, const QString& number, bool missed, const QString& company = {})
{
    TCallRecord call;
    call.started = QDateTime::currentDateTime();
    call.ended = call.started.addSecs(20);
    call.callerName = name;
    call.number = number;
    call.convertedNumber = number;
    call.company = company;
    call.missed = missed;
    call.firedRules = {u"Kunde"_s};
    if (!missed)
        call.answered = call.started.addSecs(3);
    return call;
}

// The window on a history of three calls, one of them with a name that is a formula.
class HistoryFormTest : public ::testing::Test
{
protected:
    HistoryFormTest()
    {
        history.Add(Call(u"Anna Berg"_s, u"+49301234"_s, true, u"Berg Logistik GmbH"_s));
        history.Add(Call(u"=HYPERLINK(\"http://evil\")"_s, u"+49409876"_s, false));
        history.Add(Call(u"Jonas Keller"_s, u"+49891111"_s, true));
        form.SetRules({{u"r1"_s, u"Kunde"_s}});
        form.show();
        EXPECT_TRUE(WaitUntil([&] { return form.ShownCalls().size() == 3; }, 10000));
    }

    QStringList ShownNames() const
    {
        QStringList names;
        for (const TCallRecord& call : form.ShownCalls())
            names << call.callerName;
        return names;
    }

    // Waits for the answer to the query the last change started.
    void WaitForQuery(const std::function<void()>& change)
    {
        QSignalSpy shown(&form, &THistoryForm::CallsShown);
        change();
        ASSERT_TRUE(WaitUntil([&] { return !shown.isEmpty(); }, 10000));
    }

    QTemporaryDir dir;
    TCallHistory history {{.path = dir.filePath(u"history.sqlite"_s)}};
    THistoryForm form {history};
};

} // namespace

TEST_F(HistoryFormTest, SearchAndMissedOnlyNarrowTheCalls)
{
    EXPECT_EQ(ShownNames(), (QStringList {u"Jonas Keller"_s, u"=HYPERLINK(\"http://evil\")"_s, u"Anna Berg"_s}));
    WaitForQuery([&] { form.findChild<QLineEdit*>(u"lineEdit_Search"_s)->setText(u"logistik"_s); });
    EXPECT_EQ(ShownNames(), QStringList {u"Anna Berg"_s});
    WaitForQuery([&] { form.findChild<QLineEdit*>(u"lineEdit_Search"_s)->clear(); });
    WaitForQuery([&] { form.findChild<QCheckBox*>(u"checkBox_MissedOnly"_s)->setChecked(true); });
    EXPECT_EQ(ShownNames(), (QStringList {u"Jonas Keller"_s, u"Anna Berg"_s}));
}

TEST_F(HistoryFormTest, ButtonsHandTheSelectedCallBack)
{
    auto* table = form.findChild<QTableView*>(u"tableView_Calls"_s);
    EXPECT_FALSE(form.findChild<QPushButton*>(u"button_CallBack"_s)->isEnabled());
    table->selectRow(2);
    QSignalSpy callBack(&form, &THistoryForm::CallBackRequested);
    QSignalSpy ruleTest(&form, &THistoryForm::RuleTestRequested);
    QSignalSpy block(&form, &THistoryForm::BlockRequested);
    form.findChild<QPushButton*>(u"button_CallBack"_s)->click();
    form.findChild<QPushButton*>(u"button_TestRule"_s)->click();
    form.findChild<QPushButton*>(u"button_Block"_s)->click();
    ASSERT_EQ(callBack.size(), 1);
    EXPECT_EQ(callBack.first().value(0), QVariant(u"+49301234"_s));
    ASSERT_EQ(ruleTest.size(), 1);
    EXPECT_EQ(ruleTest.first().value(0), QVariant(u"r1"_s));
    EXPECT_EQ(block.size(), 1);
}

TEST_F(HistoryFormTest, ExportWritesTheShownCallsWithFormulasDisarmed)
{
    const QString path = dir.filePath(u"export.csv"_s);
    form.SetExportFileChooser([&] { return path; });
    form.findChild<QPushButton*>(u"button_Export"_s)->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString csv = QString::fromUtf8(file.readAll());
    EXPECT_EQ(csv.count(u"\r\n"_s), 4);
    EXPECT_TRUE(csv.contains(u"\"'=HYPERLINK(\"\"http://evil\"\")\""_s)) << csv.toStdString();
    EXPECT_TRUE(csv.contains(u"\"'+49301234\""_s));
}

TEST_F(HistoryFormTest, ClearDeletesEveryCallAfterConfirmation)
{
    TMessageBox::SetNextAnswer(QMessageBox::No);
    form.findChild<QPushButton*>(u"button_Clear"_s)->click();
    TMessageBox::SetNextAnswer(QMessageBox::Yes);
    WaitForQuery([&] { form.findChild<QPushButton*>(u"button_Clear"_s)->click(); });
    EXPECT_TRUE(form.ShownCalls().empty());
    EXPECT_EQ(TMessageBox::PendingAnswers(), 0);
}
