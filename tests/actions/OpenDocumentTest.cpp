// SPDX-License-Identifier: GPL-3.0-or-later

#include "DesktopToolStandIn.h"
#include "TestActions.h"
#include "TraceCapture.h"

#include "actions/ActionOpenDocument.h"
#include "actions/ActionStopper.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterUser.h"
#include "platform/DocumentOpener.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Stands in for the desktop: records what it is asked to open and opens it or not.
class DocumentOpenerDouble
{
public:
    DocumentOpenerDouble()
        : m_previous(ReplaceDocumentOpener([this](const QString& document, QString* error) {
            opened.append(document);
            if (!succeeds)
                *error = QStringLiteral("no program");
            return succeeds;
        }))
    {
    }
    ~DocumentOpenerDouble() { ReplaceDocumentOpener(m_previous); }
    DocumentOpenerDouble(const DocumentOpenerDouble&) = delete;
    DocumentOpenerDouble& operator=(const DocumentOpenerDouble&) = delete;

    QStringList opened;
    bool succeeds = true;

private:
    TDocumentOpener m_previous;
};

class OpenDocumentTest : public ::testing::Test
{
protected:
    TActionOpenDocument* Document(const QString& path)
    {
        auto* action = new TActionOpenDocument;
        action->SetDocPath(path);
        auto* text = new TParameterUser;
        text->SetParameterValue(QStringLiteral("Kunde Nr"));
        action->AddNewItem(text);
        auto* caller = new TParameterOrvix;
        caller->SetParameterValue(QStringLiteral("orvixCallerName"));
        action->AddNewItem(caller);
        return action;
    }

    void Run(std::initializer_list<TBaseObject*> items)
    {
        for (TBaseObject* item : items)
            sequence.AddNewItem(item);
        sequence.ExecuteActions(line);
    }

    DocumentOpenerDouble desktop;
    TraceCapture trace;
    QStringList log;
    TActionSequence sequence;
    std::shared_ptr<TOrvixLine> line = std::make_shared<TOrvixLine>();
};

TEST_F(OpenDocumentTest, OpensThePathAsWrittenAndSaysTheArgumentsStayBehind)
{
    line->SetCallerName(QStringLiteral("%HOME% Anna"));
    Run({Document(QStringLiteral("%HOME%/Kunden Liste.ods")), new RecordingAction("after", log)});
    EXPECT_EQ(desktop.opened, QStringList {"%HOME%/Kunden Liste.ods"});
    EXPECT_EQ(trace.LastValue("ActionOpenDocument::ExecuteAction:Command line parameters"),
              QStringLiteral("Kunde Nr %HOME% Anna "));
    EXPECT_TRUE(trace.Has("ActionOpenDocument::ExecuteAction:Parameters are not passed to the document"));
    EXPECT_EQ(log, QStringList {"after"});
}

TEST_F(OpenDocumentTest, DocumentTheDesktopCannotOpenFailsTheActionForAFollowingStopper)
{
    desktop.succeeds = false;
    auto* stopper = new TActionStopper;
    stopper->SetBlockOnSuccess(false);
    stopper->SetBlockAllActions(true);
    Run({Document(QStringLiteral("/nonexistent/Liste.ods")), stopper, new RecordingAction("after", log)});
    EXPECT_TRUE(trace.Has("ActionOpenDocument::ExecuteAction:Document could not be opened"));
    EXPECT_TRUE(log.isEmpty());
}

} // namespace

// The desktop itself: xdg-open runs, and its exit status counts.
TEST(OpenDocumentWithTheDesktop, XdgOpenFindingNoProgramFailsTheActionForAFollowingStopper)
{
    QTemporaryDir folder;
    const QString document = folder.filePath(QStringLiteral("Liste.xyz"));
    WriteFile(document, "x");
    QStringList log;
    const auto run = [&] {
        TActionSequence sequence;
        auto* action = new TActionOpenDocument;
        action->SetDocPath(document);
        sequence.AddNewItem(action);
        auto* stopper = new TActionStopper;
        stopper->SetBlockOnSuccess(false);
        stopper->SetBlockAllActions(true);
        sequence.AddNewItem(stopper);
        sequence.AddNewItem(new RecordingAction("after", log));
        sequence.ExecuteActions(std::make_shared<TOrvixLine>());
    };
    {
        // xdg-open's exit status 3: no program for this kind of file.
        DesktopToolStandIn xdgOpen("xdg-open", 3);
        TraceCapture trace;
        run();
        EXPECT_EQ(xdgOpen.Arguments(), QStringList {document});
        EXPECT_TRUE(trace.LastValue("ActionOpenDocument::ExecuteAction:Document could not be opened")
                        .contains(QStringLiteral("exit status 3")));
        EXPECT_TRUE(log.isEmpty());
    }
    DesktopToolStandIn xdgOpen("xdg-open", 0);
    run();
    EXPECT_EQ(log, QStringList {"after"});
}
