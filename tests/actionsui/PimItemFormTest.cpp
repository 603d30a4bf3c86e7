// SPDX-License-Identifier: GPL-3.0-or-later

#include "ModalDriver.h"
#include "WindowGrab.h"

#include "actions/ui/PimItemForm.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string_view>

namespace {

TPimItem NewItem(TPimItemKind kind)
{
    TPimItem item;
    item.Kind = kind;
    item.Subject = QStringLiteral("Anruf von Anna Berg");
    item.Body = QStringLiteral("Anruf von Anna Berg\nNummer: +49301234567\n");
    item.Contact = QStringLiteral("Anna Berg (+49301234567)");
    item.Start = QDateTime(QDate(2026, 12, 10), QTime(14, 5));
    item.End = item.Start.addSecs(1800);
    return item;
}

template <typename TWidget>
TWidget& Child(QWidget& form, const char* name)
{
    auto* widget = form.findChild<TWidget*>(QString::fromLatin1(name));
    if (!widget)
        throw std::runtime_error(name);
    return *widget;
}

} // namespace

TEST(PimItemForm, TitleNamesTheKindAndTheCaller)
{
    const std::pair<TPimItemKind, const char*> cases[] = {
        {TPimItemKind::Note, "Notiz – Anna Berg (+49301234567)"},
        {TPimItemKind::Journal, "Journaleintrag – Anna Berg (+49301234567)"},
        {TPimItemKind::Appointment, "Termin – Anna Berg (+49301234567)"},
        {TPimItemKind::Task, "Aufgabe – Anna Berg (+49301234567)"},
    };
    for (const auto& [kind, title] : cases) {
        TPimItemForm form(NewItem(kind));
        EXPECT_EQ(form.windowTitle(), QString::fromUtf8(title));
        EXPECT_EQ(Child<QPushButton>(form, "button_Save").text(), QStringLiteral("&Speichern"));
        EXPECT_TRUE(Child<QPushButton>(form, "button_Save").isDefault());
        EXPECT_EQ(Child<QPushButton>(form, "button_Cancel").text(), QStringLiteral("Abbrechen"));
    }
    TPimItem withoutCaller = NewItem(TPimItemKind::Note);
    withoutCaller.Contact.clear();
    TPimItemForm anonymous(withoutCaller);
    EXPECT_EQ(anonymous.windowTitle(), QStringLiteral("Notiz"));
}

TEST(PimItemForm, ReturnSavesWhatTheUserTyped)
{
    TPimItemForm form(NewItem(TPimItemKind::Appointment));
    bool accepted = false;
    const bool shown = DriveModal<TPimItemForm>(
        [&](TPimItemForm& window) {
            GrabWindow(window, QStringLiteral("item-window-appointment"));
            EXPECT_EQ(Child<QPlainTextEdit>(window, "memo_Body").toPlainText(),
                      QStringLiteral("Anruf von Anna Berg\nNummer: +49301234567\n"));
            auto& subject = Child<QLineEdit>(window, "edit_Subject");
            EXPECT_EQ(subject.text(), QStringLiteral("Anruf von Anna Berg"));
            subject.selectAll();
            QTest::keyClicks(&subject, QStringLiteral("Rueckruf"));
            Child<QDateTimeEdit>(window, "dateTime_End").setDateTime(QDateTime(QDate(2026, 12, 10), QTime(15, 0)));
            QTest::keyClick(&subject, Qt::Key_Return);
        },
        [&] { accepted = form.exec() == QDialog::Accepted; });
    ASSERT_TRUE(shown);
    EXPECT_TRUE(accepted);
    const TPimItem item = form.Item();
    EXPECT_EQ(item.Subject, QStringLiteral("Rueckruf"));
    EXPECT_EQ(item.Start, QDateTime(QDate(2026, 12, 10), QTime(14, 5)));
    EXPECT_EQ(item.End, QDateTime(QDate(2026, 12, 10), QTime(15, 0)));
}

// A full disk at "Speichern": the window says so and stays open with what was typed,
// so that the user can save again once there is room.
TEST(PimItemForm, AFailedSaveIsShownAndTheWindowStaysOpen)
{
    TPimItemForm form(NewItem(TPimItemKind::Journal));
    QStringList saved;
    form.SetSave([&saved](const TPimItem& item) {
        saved.append(item.Subject);
        return saved.size() == 1 ? QStringLiteral("Der Eintrag konnte nicht gespeichert werden.\n\nKein Platz")
                                 : QString();
    });
    bool accepted = false;
    const bool shown = DriveModal<TPimItemForm>(
        [&](TPimItemForm& window) {
            Child<QLineEdit>(window, "edit_Subject").setText(QStringLiteral("Rückruf"));
            TMessageBox::SetNextAnswer(QMessageBox::Ok);
            Child<QPushButton>(window, "button_Save").click();
            EXPECT_EQ(TMessageBox::PendingAnswers(), 0) << "the failure was not shown";
            EXPECT_TRUE(window.isVisible());
            EXPECT_EQ(Child<QLineEdit>(window, "edit_Subject").text(), QStringLiteral("Rückruf"));
            Child<QPushButton>(window, "button_Save").click();
        },
        [&] { accepted = form.exec() == QDialog::Accepted; });
    ASSERT_TRUE(shown);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(saved, (QStringList {"Rückruf", "Rückruf"}));
}

TEST(PimItemForm, CancelDiscards)
{
    TPimItemForm form(NewItem(TPimItemKind::Note));
    bool accepted = true;
    DriveModal<TPimItemForm>([&](TPimItemForm& window) { Child<QPushButton>(window, "button_Cancel").click(); },
                             [&] { accepted = form.exec() == QDialog::Accepted; });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(form.Outcome(), TUserInterface::TPimItemOutcome::Discarded);
}

// Only the user discards: the program's end (Interrupt at shutdown, or a quit
// that ends every event loop under the window) leaves the window's text for the draft.
TEST(PimItemForm, TheProgramsEndIsNoDiscard)
{
    using TOutcome = TUserInterface::TPimItemOutcome;
    const std::pair<const char*, std::function<void(TPimItemForm&)>> ends[] = {
        {"Escape", [](TPimItemForm& window) { QTest::keyClick(&window, Qt::Key_Escape); }},
        {"close box", [](TPimItemForm& window) { window.close(); }},
        {"Interrupt", [](TPimItemForm& window) { window.Interrupt(); }},
    };
    for (const auto& [name, end] : ends) {
        TPimItemForm form(NewItem(TPimItemKind::Journal));
        const bool shown = DriveModal<TPimItemForm>(
            [&](TPimItemForm& window) {
                Child<QLineEdit>(window, "edit_Subject").setText(QStringLiteral("Rückruf morgen"));
                end(window);
            },
            [&] { form.exec(); });
        ASSERT_TRUE(shown) << name;
        const bool byTheUser = std::string_view(name) == "Escape" || std::string_view(name) == "close box";
        EXPECT_EQ(form.Outcome(), byTheUser ? TOutcome::Discarded : TOutcome::Interrupted) << name;
        EXPECT_EQ(form.Item().Subject, QStringLiteral("Rückruf morgen")) << name;
    }

    // The session's end quits the program; the window is still up when its loop returns.
    TPimItemForm form(NewItem(TPimItemKind::Note));
    QTimer::singleShot(0, &form, [&form] {
        Child<QLineEdit>(form, "edit_Subject").setText(QStringLiteral("Rückruf morgen"));
        QCoreApplication::exit(0);
    });
    form.exec();
    EXPECT_EQ(form.Outcome(), TOutcome::Interrupted);
    EXPECT_EQ(form.Item().Subject, QStringLiteral("Rückruf morgen"));
}

TEST(PimItemForm, TaskDueDateOnlyWhenTicked)
{
    TPimItemForm form(NewItem(TPimItemKind::Task));
    auto& hasDue = Child<QCheckBox>(form, "check_Due");
    auto& due = Child<QDateTimeEdit>(form, "dateTime_Due");
    EXPECT_FALSE(hasDue.isChecked());
    EXPECT_FALSE(due.isEnabled());
    EXPECT_FALSE(form.Item().Due.isValid());
    hasDue.setChecked(true);
    EXPECT_TRUE(due.isEnabled());
    due.setDateTime(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
    Child<QCheckBox>(form, "check_Completed").setChecked(true);
    const TPimItem item = form.Item();
    EXPECT_EQ(item.Due, QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
    EXPECT_TRUE(item.Completed);
    // Fields a task does not have are not there.
    EXPECT_EQ(form.findChild<QDateTimeEdit*>(QStringLiteral("dateTime_End")), nullptr);
}
