#include "editors/RuleNameForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(RuleNameForm, OkOnlyForANameWithMoreThanBlanks)
{
    struct Case
    {
        QString name;
        bool ok;
    };
    const Case cases[] = {
        {QString(), false},
        {QStringLiteral("   "), false},
        {QStringLiteral("\t "), false},
        {QStringLiteral(" Kunde "), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        TRuleNameForm opened(c.name);
        EXPECT_EQ(opened.findChild<QPushButton*>(QStringLiteral("button_OK"))->isEnabled(), c.ok) << "on opening";

        TRuleNameForm typed(QStringLiteral("Alt"));
        auto* field = typed.findChild<QLineEdit*>(QStringLiteral("edit_Name"));
        field->clear();
        QTest::keyClicks(field, c.name);
        EXPECT_EQ(typed.findChild<QPushButton*>(QStringLiteral("button_OK"))->isEnabled(), c.ok) << "after typing";
    }
}

TEST(RuleNameForm, OkGivesTheNameAsEnteredUpToTheLimit)
{
    TRuleNameForm form(QStringLiteral("Kunde"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Name der Regel"));
    form.show();
    auto* field = form.findChild<QLineEdit*>(QStringLiteral("edit_Name"));
    field->clear();
    QTest::keyClicks(field, QStringLiteral(" ") + QString(160, u'k'));
    form.findChild<QPushButton*>(QStringLiteral("button_OK"))->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.Name(), QStringLiteral(" ") + QString(149, u'k'));
}
