// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/HtmlWebSecurity.h"

#include "platform/DataPaths.h"
#include "platform/DocumentOpener.h"
#include "trace/Trace.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace {

// Serves only page files of the data folder, by their GUID names: no path, no
// other file, can be named through the scheme.
class THtmlPageSchemeHandler : public QWebEngineUrlSchemeHandler
{
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        static const QRegularExpression pageName(
            QStringLiteral(R"(^\{[0-9A-Fa-f-]{36}\}\.HTMLTemplate(\.[A-Za-z0-9]{1,10})?$)"));
        const QString name = job->requestUrl().path();
        QFile file(UserDataPath() + u'/' + name);
        if (job->requestMethod() != "GET" || !pageName.match(name).hasMatch() || !file.open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* page = new QBuffer(job);
        page->setData(file.readAll());
        job->reply("text/html", page);
    }
};

bool IsWebScheme(const QUrl& url)
{
    return url.scheme() == u"http" || url.scheme() == u"https";
}

int PortOrDefault(const QUrl& url)
{
    return url.port(url.scheme() == u"https" ? 443 : 80);
}

bool IsSameOrigin(const QUrl& a, const QUrl& b)
{
    return a.scheme() == b.scheme() && a.host() == b.host() && PortOrDefault(a) == PortOrDefault(b);
}

void OpenInBrowser(const QUrl& url)
{
    // Later, from the event loop: the engine is waiting for the answer now.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [url] {
            Trace::Value("HtmlMessageForm::Navigate:Link opened in the browser", url.toString(QUrl::RemoveUserInfo));
            QString error;
            if (!OpenDocument(QString::fromLatin1(url.toEncoded()), &error))
                Trace::Warning("HtmlMessageForm::Navigate:The browser cannot be opened", error);
        },
        Qt::QueuedConnection);
}

// The page a new window (a link with a target, window.open) is given: it only
// catches where it was asked to go.
class TNewWindowCatcher : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool) override
    {
        if (IsWebScheme(url) && type == NavigationTypeLinkClicked)
            OpenInBrowser(url);
        else
            Trace::Value("HtmlMessageForm::Navigate:New window refused", url.toString(QUrl::RemoveUserInfo));
        deleteLater();
        return false;
    }
};

} // namespace

QByteArray HtmlPageScheme()
{
    return QByteArrayLiteral("kestrun-page");
}

void RegisterHtmlPageScheme()
{
    QWebEngineUrlScheme scheme(HtmlPageScheme());
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // No LocalScheme or LocalAccessAllowed: its pages get no file:// access.
    scheme.setFlags({});
    QWebEngineUrlScheme::registerScheme(scheme);
}

void ApplyHtmlWebSecurity(QWebEngineProfile& profile)
{
    profile.installUrlSchemeHandler(HtmlPageScheme(), new THtmlPageSchemeHandler(&profile));
    QWebEngineSettings* settings = profile.settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
}

QUrl HtmlPageFileUrl(const QString& pageFile)
{
    QUrl url;
    url.setScheme(QString::fromLatin1(HtmlPageScheme()));
    url.setPath(pageFile.section(u'/', -1));
    return url;
}

THtmlNavigation DecideHtmlNavigation(const QUrl& target, QWebEnginePage::NavigationType type, bool isMainFrame,
                                     const QUrl& home)
{
    const bool linkClicked = type == QWebEnginePage::NavigationTypeLinkClicked;
    if (isMainFrame && target == home && !linkClicked)
        return THtmlNavigation::Allow;
    if (!IsWebScheme(target))
        return !isMainFrame && target.scheme() == u"about" ? THtmlNavigation::Allow : THtmlNavigation::Refuse;
    if (!isMainFrame)
        return THtmlNavigation::Allow;
    if (!IsWebScheme(home))
        return linkClicked ? THtmlNavigation::OpenInBrowser : THtmlNavigation::Refuse;
    // A site may move within itself and be redirected (a login, http to https);
    // a link to another site goes to the browser.
    return linkClicked && !IsSameOrigin(target, home) ? THtmlNavigation::OpenInBrowser : THtmlNavigation::Allow;
}

THtmlGuardedPage::THtmlGuardedPage(QWebEngineProfile& profile, QObject* parent)
    : QWebEnginePage(&profile, parent)
{
}

void THtmlGuardedPage::LoadHome(const QUrl& url)
{
    m_home = url;
    load(url);
}

bool THtmlGuardedPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    switch (DecideHtmlNavigation(url, type, isMainFrame, m_home)) {
    case THtmlNavigation::Allow:
        return true;
    case THtmlNavigation::OpenInBrowser:
        OpenInBrowser(url);
        return false;
    case THtmlNavigation::Refuse:
        break;
    }
    Trace::Value("HtmlMessageForm::Navigate:Navigation refused", url.toString(QUrl::RemoveUserInfo));
    return false;
}

QWebEnginePage* THtmlGuardedPage::createWindow(WebWindowType)
{
    return new TNewWindowCatcher(profile(), this);
}
