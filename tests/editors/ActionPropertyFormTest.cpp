// SPDX-License-Identifier: GPL-3.0-or-later

#include "ModalDriver.h"

#include "actions/ActionOutlookContact.h"
#include "actions/ActionOutlookSendMail.h"
#include "actions/ActionStopper.h"
#include "editors/ActionDefinitionForms.h"
#include "editors/ActionPropertyForm.h"
#include "rulesfile/Parameters.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

// Sets one editor of each kind on the page of a stopper and an Outlook e-mail.
void EditEveryKind(TActionPropertyForm& stopperPage, TActionPropertyForm& mailPage)
{
    stopperPage.findChild<QCheckBox*>(QStringLiteral("BlockOnSuccess"))->setChecked(false);
    stopperPage.findChild<QSpinBox*>(QStringLiteral("BlockCount"))->setValue(-3);
    mailPage.findChild<QLineEdit*>(QStringLiteral("HTMLTemplate"))->setText(QStringLiteral("/tmp/brief.html"));
    mailPage.findChild<QPlainTextEdit*>(QStringLiteral("Attachments"))
        ->setPlainText(QStringLiteral("/tmp/a.pdf\n/tmp/b.pdf"));
}

} // namespace

TEST(ActionPropertyForm, OkWritesTheEditedValuesAndCancelNone)
{
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Abbrechen");
        TActionStopper stopper;
        ASSERT_TRUE(stopper.BlockOnSuccess());
        TActionOutlookSendMail mail;
        mail.SetAttachments({QStringLiteral("/tmp/alt.pdf")});
        TParameters model;
        TActionPropertyForm stopperPage(stopper, model, QStringLiteral("Aktionsstopper definieren"));
        TActionPropertyForm mailPage(mail, model, QStringLiteral("E-Mail senden"));
        EditEveryKind(stopperPage, mailPage);
        if (ok) {
            stopperPage.accept();
            mailPage.accept();
        } else {
            stopperPage.reject();
            mailPage.reject();
        }
        EXPECT_EQ(stopper.BlockOnSuccess(), !ok);
        EXPECT_EQ(stopper.BlockCount(), ok ? -3 : TActionStopper().BlockCount());
        EXPECT_EQ(mail.HTMLTemplate(), ok ? QStringLiteral("/tmp/brief.html") : QString());
        const QStringList attachments = ok ? QStringList {"/tmp/a.pdf", "/tmp/b.pdf"} : QStringList {"/tmp/alt.pdf"};
        EXPECT_EQ(mail.Attachments(), attachments);
    }
}

TEST(ActionPropertyForm, ShowsDescriptionAndHidesBookkeeping)
{
    TActionOutlookSendMail mail;
    // An entry with its own line break cannot be one line of the editor: it is shown, not edited.
    mail.SetParameterList({QStringLiteral("1;Template;Zeile 1\r\nZeile 2")});
    TParameters model;
    TActionPropertyForm page(mail, model, QStringLiteral("E-Mail senden"));
    EXPECT_EQ(page.windowTitle(), QStringLiteral("E-Mail senden"));
    auto* description = page.findChild<QLabel*>(QStringLiteral("Description"));
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->text(), mail.GetDescription());
    for (const char* hidden : {"ID", "IsDummy", "FieldID", "FreeObjects", "objectName"})
        EXPECT_EQ(page.findChild<QWidget*>(QLatin1StringView(hidden)), nullptr) << hidden;
    EXPECT_TRUE(page.findChild<QPlainTextEdit*>(QStringLiteral("ParameterList"))->isReadOnly());
    page.accept();
    EXPECT_EQ(mail.ParameterList(), QStringList {QStringLiteral("1;Template;Zeile 1\r\nZeile 2")});
}

TEST(ActionPropertyForm, OutlookContactHasNoDialog)
{
    TActionOutlookContact contact;
    const QString before = contact.Caption();
    int result = -1;
    TParameters model;
    EXPECT_FALSE(
        DriveModal<QDialog>([](QDialog&) {}, [&] { result = ShowActionDefinitionForm(contact, model, nullptr); }));
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(ActionDefinitionCaption(contact).isEmpty());
    TActionStopper stopper;
    EXPECT_EQ(ActionDefinitionCaption(stopper), QStringLiteral("Aktionsstopper definieren"));
}
