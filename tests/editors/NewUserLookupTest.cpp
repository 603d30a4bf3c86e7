// SPDX-License-Identifier: GPL-3.0-or-later

#include "ActionSequencesFixture.h"
#include "ParameterRun.h"
#include "VelquistSimProcess.h"

#include "editors/definitions/ParameterMultiForm.h"
#include "editors/definitions/ParametersFrame.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterVelquist.h"
#include "parameters/Velquist.h"

#include <QToolButton>

// A new user adds a standard notification whose text gets the caller's company
// from the directory server; the next call is looked up with the settings the
// dialogs stored.
TEST_F(ActionSequences, NewNotificationGetsTheCompanyThroughTheParameterDialogs)
{
    VelquistSimProcess sim;
    const QString host = sim.Start(QStringLiteral(VELQUIST_SIM), QStringLiteral(VELQUIST_SIM_CONTACTS));
    ASSERT_FALSE(host.isEmpty()) << sim.Output().toStdString();
    TVelquist::SetBaseUrl(QStringLiteral("http://") + host);
    model.Velquist()->SetProgramFolder(QStringLiteral(KESTRUN_RESOURCES));
    model.Velquist()->ReadLDAPFields();

    Open();
    Sequences()->setCurrentIndex(2);
    SelectPalette(QStringLiteral("Standard-Nachricht anzeigen"));
    ActionPage(QStringLiteral("button_Add"), [](TActionDefinitionForm& page) {
        auto* frame = page.findChild<TParametersFrame*>();
        ASSERT_NE(frame, nullptr);
        auto* available = frame->findChild<QListWidget*>(QStringLiteral("ListBox_AvailableParameters"));
        const QList<QListWidgetItem*> lookup =
            available->findItems(QStringLiteral("Velquist-Parameter"), Qt::MatchExactly);
        ASSERT_EQ(lookup.size(), 1);
        available->setCurrentItem(lookup.first());
        EXPECT_TRUE(DriveModal<TParameterMultiForm>(
            [](TParameterMultiForm& dialog) {
                EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Velquist-Parameter"));
                auto* returned = dialog.findChild<QComboBox*>(QStringLiteral("comboBox_ReturnParameter"));
                returned->setCurrentIndex(returned->findText(QStringLiteral("Firma")));
                dialog.findChild<QLineEdit*>(QStringLiteral("edit_Alias"))->setText(QStringLiteral("Firma"));
                Ok(dialog);
            },
            [&] { frame->findChild<QToolButton*>(QStringLiteral("Button_Add"))->click(); }));
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
