// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/MessageBox.h"

#include "ModalDriver.h"

#include <QAbstractButton>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Kind = std::function<TMessageBox::Button(QWidget*, const QString&, const QString&)>;

struct KindCase
{
    const char* name;
    Kind show;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton click;
    // German whatever translations the machine has.
    QStringList texts;
};

const KindCase kinds[] = {
    {"Question",
     [](auto... args) { return TMessageBox::Question(args...); },
     QMessageBox::Question,
     QMessageBox::Yes | QMessageBox::No,
     QMessageBox::Yes,
     {"&Ja", "&Nein"}},
    {"Information",
     [](auto... args) { return TMessageBox::Information(args...); },
     QMessageBox::Information,
     QMessageBox::Ok,
     QMessageBox::Ok,
     {"OK"}},
    {"Warning",
     [](auto... args) { return TMessageBox::Warning(args...); },
     QMessageBox::Warning,
     QMessageBox::Ok,
     QMessageBox::Ok,
     {"OK"}},
    {"Critical",
     [](auto... args) { return TMessageBox::Critical(args...); },
     QMessageBox::Critical,
     QMessageBox::Ok,
     QMessageBox::Ok,
     {"OK"}},
};

// A window as the program's dialogs use the helper: deleting asks first.
class RuleList : public QDialog
{
public:
    RuleList()
    {
        list->addItems({QStringLiteral("Anruf"), QStringLiteral("Rückruf")});
        connect(remove, &QPushButton::clicked, this, [this] {
            if (TMessageBox::Question(this, QStringLiteral("Regel löschen"),
                                      QStringLiteral("Soll die Regel gelöscht werden?")) == QMessageBox::Yes)
                delete list->takeItem(0);
        });
    }

    QListWidget* list = new QListWidget(this);
    QPushButton* remove = new QPushButton(QStringLiteral("Löschen"), this);
};

} // namespace

TEST(MessageBox, AnswerGivenInAdvanceDecidesWithoutShowingAnything)
{
    const std::pair<QMessageBox::StandardButton, int> cases[] = {{QMessageBox::Yes, 1}, {QMessageBox::No, 2}};
    for (const auto& [answer, rulesLeft] : cases) {
        SCOPED_TRACE(answer);
        RuleList window;
        TMessageBox::SetNextAnswer(answer);
        const bool shown = DriveModal<QMessageBox>([](QMessageBox&) {}, [&] { window.remove->click(); });
        EXPECT_FALSE(shown);
        EXPECT_EQ(window.list->count(), rulesLeft);
        EXPECT_EQ(TMessageBox::PendingAnswers(), 0);
    }
}

TEST(MessageBox, AnswersAreTakenInTheOrderGiven)
{
    TMessageBox::SetNextAnswer(QMessageBox::No);
    TMessageBox::SetNextAnswer(QMessageBox::Yes);
    EXPECT_EQ(TMessageBox::PendingAnswers(), 2);
    EXPECT_EQ(TMessageBox::Question(nullptr, {}, {}), QMessageBox::No);
    EXPECT_EQ(TMessageBox::PendingAnswers(), 1);
    EXPECT_EQ(TMessageBox::Warning(nullptr, {}, {}, QMessageBox::Yes | QMessageBox::Cancel), QMessageBox::Yes);
    EXPECT_EQ(TMessageBox::PendingAnswers(), 0);
}

TEST(MessageBox, WithoutAnAnswerTheBoxShowsAndReturnsTheButtonClicked)
{
    for (const KindCase& kind : kinds) {
        SCOPED_TRACE(kind.name);
        QWidget owner;
        TMessageBox::Button result = QMessageBox::NoButton;
        const bool shown = DriveModal<QMessageBox>(
            [&](QMessageBox& box) {
                EXPECT_EQ(box.icon(), kind.icon);
                EXPECT_EQ(box.windowTitle(), QStringLiteral("Kestrun"));
                EXPECT_EQ(box.text(), QStringLiteral("Nachricht für Sie"));
                EXPECT_EQ(box.standardButtons(), kind.buttons);
                EXPECT_EQ(box.parentWidget(), &owner);
                QStringList texts;
                for (QAbstractButton* button : box.buttons())
                    texts.append(button->text());
                texts.sort();
                EXPECT_EQ(texts, kind.texts);
                QTest::mouseClick(box.button(kind.click), Qt::LeftButton);
            },
            [&] { result = kind.show(&owner, QStringLiteral("Kestrun"), QStringLiteral("Nachricht für Sie")); });
        EXPECT_TRUE(shown);
        EXPECT_EQ(result, kind.click);
    }
}

TEST(MessageBox, DefaultButtonIsTheCallersAndEnterTakesIt)
{
    TMessageBox::Button result = QMessageBox::NoButton;
    DriveModal<QMessageBox>(
        [](QMessageBox& box) {
            EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
            QTest::keyClick(&box, Qt::Key_Return);
        },
        [&] {
            result = TMessageBox::Question(nullptr, QStringLiteral("Regel löschen"), QStringLiteral("Löschen?"),
                                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        });
    EXPECT_EQ(result, QMessageBox::No);
}
