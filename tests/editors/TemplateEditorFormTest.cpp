// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileSizeLimit.h"
#include "ModalDriver.h"
#include "TestFiles.h"
#include "WaitUntil.h"
#include "WindowGrab.h"

#include "actions/ActionOutlookItems.h"
#include "editors/definitions/TemplateEditorForm.h"
#include "editors/definitions/TemplateParameterStep.h"
#include "editors/definitions/TemplatePreviewView.h"
#include "parameters/ParameterOrvix.h"
#include "widgets/MessageBox.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

const QString AppTitle = QStringLiteral("Kestrun Event Controller for OrvixIt!");

TParameterOrvix* Orvix(const QString& caption, const QString& value)
{
    auto* parameter = new TParameterOrvix;
    parameter->SetCaption(caption);
    parameter->SetParameterValue(value);
    return parameter;
}

// A template folder and an action whose parameters the editor offers.
class TemplateEditor : public ::testing::Test
{
protected:
    TemplateEditor()
    {
        for (TBaseParameter* parameter : {Orvix(QStringLiteral("Anrufer"), QStringLiteral("orvixCallerName")),
                                          Orvix(QStringLiteral("Nummer"), QStringLiteral("orvixCallerNumber"))}) {
            action.AddNewItem(parameter);
            used.append(parameter);
        }
    }

    QString Path(const QString& name) const { return folder.filePath(name); }

    template <typename T>
    static T* Child(const QWidget& form, const char* name)
    {
        auto* child = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QPlainTextEdit* Text(const QWidget& form) { return Child<QPlainTextEdit>(form, "memo_Template"); }
    static void Click(const QWidget& form, const char* button) { Child<QPushButton>(form, button)->click(); }

    QTemporaryDir folder;
    TActionOutlookNote action;
    QList<TBaseParameter*> used;
};

} // namespace

TEST_F(TemplateEditor, InsertsTheTagAtTheCursorAndSavesItForTheNextOpening)
{
    // A customer card with two empty cells ("|") for the caller's name and number.
    const QString card = QStringLiteral(R"(<!DOCTYPE html>
<html lang="de">
<head>
<meta charset="utf-8">
<title>Kundenkarte</title>
<style>
  body { font-family: sans-serif; }
  td { padding: 3px 6px; border-bottom: 1px solid #ddd; }
</style>
</head>
<body>
<!-- Die Werte kommen aus dem Anruf -->
<h1>Kundenkarte</h1>
<table>
  <tr><td>Name</td><td>|</td></tr>
  <tr><td>Nummer</td><td>|</td></tr>
</table>
</body>
</html>
)");
    const QString path = Path(QStringLiteral("kundenkarte.htm"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(path, QString(card).remove(u'|').toUtf8()));
    QString afterFirst = card;
    afterFirst.replace(afterFirst.indexOf(u'|'), 1, QStringLiteral(R"(<#saOrvix Value="orvixCallerName">)"));
    QString expected = afterFirst;
    expected.replace(expected.indexOf(u'|'), 1, QStringLiteral(R"(<#saOrvix Value="orvixCallerNumber">)"));
    {
        TTemplateEditorForm form(path, TTemplateKind::Html, used, AppTitle);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("kundenkarte.htm - ") + AppTitle);
        form.show();
        QPlainTextEdit* text = Text(form);
        EXPECT_EQ(text->toPlainText(), QString(card).remove(u'|'));
        const auto placeCursor = [text](qsizetype position) {
            QTextCursor cursor = text->textCursor();
            cursor.setPosition(int(position));
            text->setTextCursor(cursor);
        };
        QListWidget* list = Child<QListWidget>(form, "listBox_Parameters");
        placeCursor(card.indexOf(u'|'));
        list->setCurrentRow(0);
        Click(form, "button_Insert");
        // A double click inserts the entry it hits.
        placeCursor(afterFirst.indexOf(u'|'));
        const QPoint second = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
        Click(form, "button_Save");
        EXPECT_TRUE(form.Saved());
        EXPECT_TRUE(form.isVisible());

        if (qEnvironmentVariableIsSet("KESTRUN_SCREENSHOT_DIR")) {
            auto* view = form.findChild<QWebEngineView*>();
            QString shown;
            EXPECT_TRUE(WaitUntil(
                [&] {
                    view->page()->toPlainText([&shown](const QString& page) { shown = page; });
                    return shown.contains(u"Nummer");
                },
                20000));
            // The engine draws a moment after it has the page.
            EXPECT_TRUE(WaitUntil(
                [&] {
                    const QImage picture = view->grab().toImage();
                    for (int y = 0; y < picture.height(); y += 4) {
                        for (int x = 0; x < picture.width(); x += 4) {
                            if (picture.pixel(x, y) != picture.pixel(0, 0))
                                return true;
                        }
                    }
                    return false;
                },
                20000));
            GrabWindow(form, QStringLiteral("template-editor"));
        }
    }
    EXPECT_EQ(QString::fromUtf8(ReadFile(path)), expected);
    TTemplateEditorForm again(path, TTemplateKind::Html, used, AppTitle);
    EXPECT_EQ(Text(again)->toPlainText(), expected);
    EXPECT_FALSE(again.Saved());
}

TEST_F(TemplateEditor, NewFileStartsFromTheSampleOfItsKindAndOkWritesIt)
{
    for (const TTemplateKind kind : {TTemplateKind::Html, TTemplateKind::PlainText}) {
        const QString path = Path(kind == TTemplateKind::Html ? QStringLiteral("neu.htm") : QStringLiteral("neu.txt"));
        TTemplateEditorForm form(path, kind, used, AppTitle);
        EXPECT_EQ(Text(form)->toPlainText(), NewTemplateSample(kind));
        EXPECT_FALSE(QFile::exists(path));
        Click(form, "button_OK");
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_TRUE(form.Saved());
        EXPECT_EQ(QString::fromUtf8(ReadFile(path)), NewTemplateSample(kind));
    }
}

TEST_F(TemplateEditor, FileThatCannotBeWrittenKeepsItsContentAndTheTextStaysOpen)
{
    const QString path = Path(QStringLiteral("karte.htm"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(path, "<p>alt</p>"));
    TTemplateEditorForm form(path, TTemplateKind::Html, used, AppTitle);
    form.show();
    const QString typed = QStringLiteral("<p>%1</p>").arg(QString(300, u'x'));
    Text(form)->selectAll();
    Text(form)->insertPlainText(typed);

    for (const char* button : {"button_Save", "button_OK"}) {
        SCOPED_TRACE(button);
        QString message;
        const FileSizeLimit full(100);
        EXPECT_TRUE(
            DriveModal<QMessageBox>([&](QMessageBox& box) { message = box.text(); }, [&] { Click(form, button); }));
        EXPECT_TRUE(message.contains(path)) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << message.toStdString();
        EXPECT_EQ(ReadFile(path), "<p>alt</p>");
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.Saved());
        EXPECT_EQ(Text(form)->toPlainText(), typed);
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList {"karte.htm"});
}

TEST_F(TemplateEditor, CancelAsksOnlyWhenChangesAreNotSaved)
{
    const QString path = Path(QStringLiteral("karte.htm"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(path, "<p>alt</p>"));
    TTemplateEditorForm form(path, TTemplateKind::Html, used, AppTitle);
    form.show();
    Text(form)->insertPlainText(QStringLiteral("neu"));

    TMessageBox::SetNextAnswer(QMessageBox::No);
    Click(form, "button_Cancel");
    EXPECT_TRUE(form.isVisible());
    Click(form, "button_Save");
    // Saved: nothing to ask.
    Click(form, "button_Cancel");
    EXPECT_FALSE(form.isVisible());

    form.show();
    Text(form)->insertPlainText(QStringLiteral("verworfen"));
    TMessageBox::SetNextAnswer(QMessageBox::Yes);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(ReadFile(path), "neu<p>alt</p>");
}

TEST_F(TemplateEditor, UnreadableFileIsNamedAndNeverOverwritten)
{
    // A folder by the template's name: it exists but cannot be read as a file.
    const QString path = Path(QStringLiteral("karte.htm"));
    ASSERT_TRUE(QDir().mkpath(path));
    TTemplateEditorForm form(path, TTemplateKind::Html, used, AppTitle);
    EXPECT_TRUE(Text(form)->isReadOnly());
    EXPECT_FALSE(Child<QPushButton>(form, "button_Save")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(form, "button_OK")->isEnabled());
    EXPECT_TRUE(Child<QLabel>(form, "label_Status")->text().contains(path));
}

TEST_F(TemplateEditor, PreviewFollowsTheTextWithEncodedSamplesAndShowsPlainTextAsText)
{
    used.append(Orvix(QStringLiteral(R"(</pre><script>alert("x")</script>)"), QStringLiteral("orvixCalledName")));
    action.AddNewItem(used.last());
    const QString hostileTag = CreateTemplateTag(*used.last());
    struct Case
    {
        TTemplateKind kind;
        QString text;
        QString shown; // what the engine's page must read as text
    };
    const Case cases[] = {
        {TTemplateKind::Html, u"<h1>Karte</h1><p>" + hostileTag + u"</p>",
         QStringLiteral(R"(</pre><script>alert("x")</script>)")},
        {TTemplateKind::PlainText, u"<b>Notiz</b> " + hostileTag,
         QStringLiteral(R"(<b>Notiz</b> </pre><script>alert("x")</script>)")},
    };
    for (const Case& c : cases) {
        const QString path = Path(QStringLiteral("vorlage"));
        QFile::remove(path);
        TTemplateEditorForm form(path, c.kind, used, AppTitle);
        form.show();
        auto* preview = Child<TTemplatePreviewView>(form, "preview_Page");
        EXPECT_EQ(preview->Page(),
                  TemplatePreviewPage(NewTemplateSample(c.kind), c.kind, TemplateParameterEntries(used)));

        Text(form)->setPlainText(c.text);
        ASSERT_TRUE(
            WaitUntil([&] { return preview->Page().contains(u"Karte") || preview->Page().contains(u"Notiz"); }, 5000));
        EXPECT_FALSE(preview->Page().contains(u"<script", Qt::CaseInsensitive)) << preview->Page().toStdString();
        EXPECT_EQ(preview->Page().count(u"</pre>"), c.kind == TTemplateKind::PlainText ? 1 : 0);

        // The engine shows the page it was handed, with the value as text.
        QString shown;
        auto* view = preview->findChild<QWebEngineView*>();
        ASSERT_TRUE(WaitUntil(
            [&] {
                view->page()->toPlainText([&shown](const QString& text) { shown = text; });
                return shown.contains(c.shown);
            },
            20000))
            << shown.toStdString();
    }
}

TEST_F(TemplateEditor, PreviewRunsNoScriptOfThePageAndFetchesNothing)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QString address = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
    // Answers every request, so that a page that fetches still finishes loading.
    int requests = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            ++requests;
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
        }
    });
    TTemplateEditorForm form(Path(QStringLiteral("neu.htm")), TTemplateKind::Html, used, AppTitle);
    form.show();
    auto* view = form.findChild<QWebEngineView*>();
    ASSERT_NE(view, nullptr);
    int loaded = 0;
    QObject::connect(view, &QWebEngineView::loadFinished, [&](bool ok) { loaded += ok ? 1 : 0; });
    // The sample first.
    ASSERT_TRUE(WaitUntil([&] { return loaded == 1; }, 20000));

    Text(form)->setPlainText(
        QStringLiteral(R"(<html><head><title>Vorschau</title><link rel="stylesheet" href="%1s.css">)"
                       R"(</head><body><img src="%1b.png"><iframe src="%1f"></iframe>)"
                       R"(<script>document.title = "Skript";</script></body></html>)")
            .arg(address));
    // The load ends once every image, sheet and frame has been fetched or refused.
    ASSERT_TRUE(WaitUntil([&] { return loaded == 2; }, 20000));
    EXPECT_EQ(view->title(), QStringLiteral("Vorschau"));
    EXPECT_EQ(requests, 0);
}

TEST_F(TemplateEditor, ParametersMissingFromTheTemplateGoOnlyWhenTheUserAgrees)
{
    const QString path = Path(QStringLiteral("notiz.txt"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(path, R"(<#saOrvix Value="orvixCallerNumber"> <#saUserParam Value="Kunde">)"));
    TBaseParameter* caller = used[0];
    TBaseParameter* number = used[1];

    TMessageBox::SetNextAnswer(QMessageBox::No);
    EXPECT_TRUE(BringParametersInStep(nullptr, path, action, used));
    ASSERT_EQ(used.size(), 3);
    EXPECT_EQ(used.mid(0, 2), (QList<TBaseParameter*> {caller, number}));
    EXPECT_EQ(CreateTemplateTag(*used[2]), QStringLiteral(R"(<#saUserParam Value="Kunde">)"));

    QString question;
    EXPECT_TRUE(DriveModal<QMessageBox>(
        [&](QMessageBox& box) {
            question = box.text();
            box.button(QMessageBox::Yes)->click();
        },
        [&] { EXPECT_TRUE(BringParametersInStep(nullptr, path, action, used)); }));
    EXPECT_TRUE(question.contains(u"- Anrufer\n")) << question.toStdString();
    EXPECT_FALSE(question.contains(u"Nummer")) << question.toStdString();
    EXPECT_EQ(used.size(), 2);
    EXPECT_EQ(used[0], number);
    EXPECT_EQ(action.Count(), 2);
    EXPECT_EQ(action.Parameter(0), number);

    // In step now: nothing to ask, nothing to change.
    EXPECT_TRUE(BringParametersInStep(nullptr, path, action, used));
    EXPECT_EQ(used.size(), 2);
}

TEST_F(TemplateEditor, UnreadableTemplateIsAMessageAndChangesNothing)
{
    QString message;
    EXPECT_TRUE(DriveModal<QMessageBox>(
        [&](QMessageBox& box) { message = box.text(); },
        [&] { EXPECT_FALSE(BringParametersInStep(nullptr, Path(QStringLiteral("fehlt.txt")), action, used)); }));
    EXPECT_TRUE(message.contains(Path(QStringLiteral("fehlt.txt")))) << message.toStdString();
    EXPECT_EQ(used.size(), 2);
    EXPECT_EQ(action.Count(), 2);
}
