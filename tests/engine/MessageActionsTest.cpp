// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeUserInterface.h"
#include "TestActions.h"
#include "actions/ActionBalloonMessage.h"
#include "actions/ActionHTMLMessage.h"
#include "model/OrvixLine.h"

#include <gtest/gtest.h>

namespace {

ScriptedParameter* Parameter(const QString& alias, const QString& result)
{
    auto* parameter = new ScriptedParameter(result);
    parameter->SetAlias(alias);
    return parameter;
}

} // namespace

TEST(MessageActions, BalloonShowsEveryRowWhenOneResultHasText)
{
    FakeUserInterface ui;
    auto* balloon = new TActionBalloonMessage;
    balloon->SetCaption(QStringLiteral("Anruf"));
    balloon->SetAssociatedActionSequences({QStringLiteral("{A}"), QStringLiteral("{B}")});
    balloon->AddNewItem(Parameter(QStringLiteral("Name"), QString()));
    balloon->AddNewItem(Parameter(QString(), QStringLiteral("  ")));
    balloon->AddNewItem(Parameter(QStringLiteral("Firma"), QStringLiteral("x")));
    SequenceRun run(balloon);
    run.Run();

    ASSERT_EQ(ui.shown.size(), 1u);
    const TMessageWindowRequest& request = ui.shown.front();
    EXPECT_EQ(request.Kind, TMessageWindowRequest::TKind::Balloon);
    EXPECT_EQ(request.Caption, QStringLiteral("Anruf"));
    EXPECT_EQ(request.ActionID, balloon->ID());
    EXPECT_EQ(request.SequenceIDs, balloon->AssociatedActionSequences());
    EXPECT_EQ(request.Line, run.line);
    const QList<TMessageRow> rows {{QStringLiteral("Name"), QString()},
                                   {QString(), QStringLiteral("  ")},
                                   {QStringLiteral("Firma"), QStringLiteral("x")}};
    EXPECT_EQ(request.Rows, rows);
    EXPECT_EQ(run.log, QStringList {QStringLiteral("after")});
}

TEST(MessageActions, BalloonWithOnlyBlankResultsCancelsItsSequence)
{
    for (const int parameters : {0, 2}) {
        SCOPED_TRACE(parameters);
        FakeUserInterface ui;
        auto* balloon = new TActionBalloonMessage;
        for (int i = 0; i < parameters; ++i)
            balloon->AddNewItem(Parameter(QStringLiteral("A"), QStringLiteral(" ")));
        SequenceRun run(balloon);
        run.Run();
        EXPECT_TRUE(ui.shown.empty());
        EXPECT_TRUE(run.log.isEmpty());
    }
}

TEST(MessageActions, WindowThatDoesNotOpenLeavesTheActionUnsuccessful)
{
    QStringList log;
    for (const bool haveUi : {true, false}) {
        SCOPED_TRACE(haveUi);
        std::unique_ptr<FakeUserInterface> ui;
        if (haveUi) {
            ui = std::make_unique<FakeUserInterface>();
            ui->opens = false;
        }
        TActionContext context(std::make_shared<TOrvixLine>());
        TActionHTMLMessage html;
        html.ExecuteAction(context);
        EXPECT_FALSE(context.ActionSuccessfull());
        EXPECT_FALSE(context.CancelAction());
    }
}

TEST(MessageActions, TimeOutIsClampedToWhatATimerHolds)
{
    const struct
    {
        int seconds;
        int expected;
    } cases[] = {{0, 0},
                 {12, 12},
                 {-1, 5},
                 {TMessageWindowRequest::MaxTimeOutSec, TMessageWindowRequest::MaxTimeOutSec},
                 {2147483647, TMessageWindowRequest::MaxTimeOutSec}};
    for (const auto& c : cases) {
        TActionBalloonMessage balloon;
        balloon.SetTimeOutSec(c.seconds);
        EXPECT_EQ(balloon.WindowRequest(TActionContext(nullptr)).TimeOutSec, c.expected) << c.seconds;
    }
}

TEST(MessageActions, HtmlPageCarriesTheActionsSettingsAndResults)
{
    FakeUserInterface ui;
    auto* html = new TActionHTMLMessage;
    html->SetHTMLWebserverUrl(QStringLiteral("https://crm.example/call"));
    html->SetHTMLTemplate(QStringLiteral("%HOME%/page.htm"));
    html->SetHTMLUser(QStringLiteral("anna"));
    html->SetHTMLPassword(QStringLiteral("geheim"));
    html->SetHTMLMessageHeight(QStringLiteral("abc"));
    html->SetHTMLMessageWidth(QStringLiteral(" 500 "));
    html->SetDefaultWidth(false);
    html->SetShowInvisible(true);
    html->AddNewItem(Parameter(QStringLiteral("Name"), QStringLiteral("Anna <b>Berg</b>")));
    SequenceRun run(html);
    run.Run();

    ASSERT_EQ(ui.shown.size(), 1u);
    const THtmlMessagePage& page = ui.shown.front().Page;
    EXPECT_EQ(ui.shown.front().Kind, TMessageWindowRequest::TKind::Html);
    EXPECT_EQ(page.WebserverUrl, QStringLiteral("https://crm.example/call"));
    EXPECT_EQ(page.Template, QStringLiteral("%HOME%/page.htm"));
    EXPECT_EQ(page.User, QStringLiteral("anna"));
    EXPECT_EQ(page.Password, QStringLiteral("geheim"));
    EXPECT_EQ(page.Height, 300);
    EXPECT_EQ(page.Width, 500);
    EXPECT_FALSE(page.DefaultWidth);
    EXPECT_TRUE(page.ShowInvisible);
    ASSERT_EQ(page.ResultList.size(), 1);
    EXPECT_TRUE(page.ResultList.front().endsWith(QStringLiteral("=Anna <b>Berg</b>")));
    EXPECT_EQ(run.log, QStringList {QStringLiteral("after")});
}
