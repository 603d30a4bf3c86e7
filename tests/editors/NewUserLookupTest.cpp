// SPDX-License-Identifier: GPL-3.0-or-later

#include "ActionSequencesFixture.h"
#include "ParameterRun.h"
#include "TestFiles.h"
#include "VelquistSimProcess.h"

#include "actions/ActionHTMLMessage.h"
#include "editors/definitions/TemplateEditorForm.h"
#include "editors/definitions/TemplateFrame.h"
#include "engine/TemplateFilling.h"
#include "model/ActionContext.h"

#include "editors/definitions/ParameterMultiForm.h"
#include "editors/definitions/ParametersFrame.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterVelquist.h"
#include "parameters/Velquist.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

// Adds, in the dialog's parameter frame, a directory lookup that returns the company under the alias "Firma".
void AddCompanyLookup(TActionDefinitionForm& page)
{
    auto* frame = page.findChild<TParametersFrame*>();
    ASSERT_NE(frame, nullptr);
    auto* available = frame->findChild<QListWidget*>(QStringLiteral("ListBox_AvailableParameters"));
    const QList<QListWidgetItem*> lookup = available->findItems(QStringLiteral("Velquist-Parameter"), Qt::MatchExactly);
    ASSERT_EQ(lookup.size(), 1);
    available->setCurrentItem(lookup.first());
    EXPECT_TRUE(DriveModal<TParameterMultiForm>(
        [](TParameterMultiForm& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Velquist-Parameter"));
            auto* returned = dialog.findChild<QComboBox*>(QStringLiteral("comboBox_ReturnParameter"));
            returned->setCurrentIndex(returned->findText(QStringLiteral("Firma")));
            dialog.findChild<QLineEdit*>(QStringLiteral("edit_Alias"))->setText(QStringLiteral("Firma"));
            dialog.findChild<QPushButton*>(QStringLiteral("button_OK"))->click();
        },
        [&] { frame->findChild<QToolButton*>(QStringLiteral("Button_Add"))->click(); }));
}

// Starts the directory server stand-in and points the model's client at it.
QString StartDirectory(VelquistSimProcess& sim, TParameters& model)
{
    const QString host = sim.Start(QStringLiteral(VELQUIST_SIM), QStringLiteral(VELQUIST_SIM_CONTACTS));
    if (host.isEmpty())
        return sim.Output();
    TVelquist::SetBaseUrl(QStringLiteral("http://") + host);
    model.Velquist()->SetProgramFolder(QStringLiteral(KESTRUN_RESOURCES));
    model.Velquist()->ReadLDAPFields();
    return {};
}

} // namespace

// A new user adds a standard notification whose text gets the caller's company
// from the directory server; the next call is looked up with the settings the
// dialogs stored.
TEST_F(ActionSequences, NewNotificationGetsTheCompanyThroughTheParameterDialogs)
{
    VelquistSimProcess sim;
    ASSERT_EQ(StartDirectory(sim, model), QString());

    Open();
    Sequences()->setCurrentIndex(2);
    SelectPalette(QStringLiteral("Standard-Nachricht anzeigen"));
    ActionPage(QStringLiteral("button_Add"), [](TActionDefinitionForm& page) {
        AddCompanyLookup(page);
        Ok(page);
    });

    TActionSequence* notiz = CopySequence(2);
    ASSERT_EQ(notiz->Count(), 2);
    auto* balloon = qobject_cast<TActionBalloonMessage*>(notiz->Action(1));
    ASSERT_NE(balloon, nullptr);
    ASSERT_EQ(balloon->Count(), 1);
    auto* company = qobject_cast<TParameterVelquist*>(balloon->Parameter(0));
    ASSERT_NE(company, nullptr);
    EXPECT_EQ(company->ParameterValue(), QStringLiteral("company"));
    EXPECT_EQ(company->Alias(), QStringLiteral("Firma"));

    // The next call, from Anna Berg's office.
    auto call = std::make_shared<TOrvixLine>();
    call->SetCallId(7);
    call->SetCallerNumber(QStringLiteral("+49 30 1234567"));
    company->SetOrvixLine(call);
    EXPECT_EQ(Resolve(*company).result, QStringLiteral("Berg Logistik GmbH"));
    TVelquist::SetBaseUrl({});
}

// A new user builds a customer card: an HTML notification with a directory lookup,
// its template made from nothing in the editor with the lookup's tag and a typed
// tag for the caller's name. The next call's page shows both.
TEST_F(ActionSequences, NewCustomerCardShowsTheCallerAndTheCompany)
{
    VelquistSimProcess sim;
    ASSERT_EQ(StartDirectory(sim, model), QString());
    QTemporaryDir folder;
    const QString card = folder.filePath(QStringLiteral("kundenkarte.html"));

    Open();
    Sequences()->setCurrentIndex(2);
    SelectPalette(QStringLiteral("HTML-Nachricht anzeigen"));
    ActionPage(QStringLiteral("button_Add"), [&](TActionDefinitionForm& page) {
        AddCompanyLookup(page);
        auto* frame = page.findChild<TTemplateFrame*>();
        frame->ChooseSaveFile = [&](QWidget*, const QString&, const QString&, const QString&) { return card; };
        EXPECT_TRUE(DriveModal<TTemplateEditorForm>(
            [](TTemplateEditorForm& editor) {
                auto* text = editor.findChild<QPlainTextEdit*>(QStringLiteral("memo_Template"));
                text->moveCursor(QTextCursor::End);
                text->insertPlainText(QStringLiteral("<p>Anrufer: <#saOrvix Value=\"orvixCallerName\"></p><p>Firma: "));
                editor.findChild<QListWidget*>(QStringLiteral("listBox_Parameters"))->setCurrentRow(0);
                editor.findChild<QPushButton*>(QStringLiteral("button_Insert"))->click();
                editor.findChild<QPushButton*>(QStringLiteral("button_OK"))->click();
            },
            [&] { frame->findChild<QPushButton*>(QStringLiteral("button_New"))->click(); }));
        page.findChild<QLineEdit*>(QStringLiteral("edit_Caption"))->setText(QStringLiteral("Kundenkarte"));
        Ok(page);
    });
    auto* message = qobject_cast<TActionHTMLMessage*>(CopySequence(2)->Action(1));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->HTMLTemplate(), card);
    ASSERT_EQ(message->Count(), 2) << "the lookup and the caller's name";

    auto call = std::make_shared<TOrvixLine>();
    call->SetCallId(8);
    call->SetCallerNumber(QStringLiteral("+49 30 1234567"));
    call->SetCallerName(QStringLiteral("Anna Berg"));
    message->SetOrvixLine(call);
    for (int i = 0; i < message->Count(); ++i)
        message->Parameter(i)->SetOrvixLine(call);
    TActionContext context(call);
    message->TBaseAction::ExecuteAction(context);
    const QString pagePath = CreateHTMLTemplatePage(*message, context);
    const QString page = QString::fromUtf8(ReadFile(pagePath));
    QFile::remove(pagePath);
    EXPECT_TRUE(page.contains(QStringLiteral("Anrufer: Anna Berg"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("Firma: Berg Logistik GmbH"))) << page.toStdString();
    TVelquist::SetBaseUrl({});
}
