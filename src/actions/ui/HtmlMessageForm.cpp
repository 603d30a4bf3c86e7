// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/HtmlMessageForm.h"

#include "actions/ui/HtmlPageAddress.h"
#include "actions/ui/HtmlWebProfile.h"
#include "actions/ui/HtmlWebSecurity.h"
#include "engine/TemplateFilling.h"
#include "trace/Trace.h"
#include "ui_HtmlMessageForm.h"

#include <QApplication>
#include <QAuthenticator>
#include <QFile>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// The width asked for by "default width"; the window's minimum widens it to 370.
constexpr int DefaultPageWidth = 360;

} // namespace

THtmlMessageForm::THtmlMessageForm(TModelSource modelSource)
    : TBaseMessageForm(std::move(modelSource))
    , ui(std::make_unique<Ui::THtmlMessageForm>())
{
    Trace::Message("HtmlMessageForm::FormCreate");
    auto* content = new QWidget(MessagePanel());
    ui->setupUi(content);
    auto* panelLayout = new QVBoxLayout(MessagePanel());
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(content);

    auto* page = new THtmlGuardedPage(HtmlWebProfile(), ui->webBrowser);
    ui->webBrowser->setPage(page);
    connect(page, &QWebEnginePage::authenticationRequired, this,
            &THtmlMessageForm::WVBrowserBasicAuthenticationRequested);
    connect(qApp, &QApplication::focusChanged, this, &THtmlMessageForm::FocusChanged);
}

THtmlMessageForm::~THtmlMessageForm()
{
    Trace::Message("HtmlMessageForm::FormDestroy");
    // The page's widgets give up the focus while they are destroyed, when this
    // part of the window is gone already.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    ReplaceTemplateFile({});
}

QWebEngineView* THtmlMessageForm::WebBrowser() const
{
    return ui->webBrowser;
}

THtmlGuardedPage& THtmlMessageForm::GuardedPage() const
{
    return *static_cast<THtmlGuardedPage*>(ui->webBrowser->page());
}

void THtmlMessageForm::FormShow()
{
    Trace::Message("HtmlMessageForm::FormShow");
    const THtmlMessagePage& page = Request().Page;
    // Sized before the base lays out the buttons, so that they span the width shown.
    resize(page.DefaultWidth ? DefaultPageWidth : page.Width, page.Height);
    TBaseMessageForm::FormShow();
    if (!Preloaded() || page.WebserverUrl.isEmpty() || SiteOf(page) != m_siteLoaded)
        Navigate();
}

// Loading at start saves the engine's start-up at the first call; a site stays
// loaded from then on.
void THtmlMessageForm::FormPreload()
{
    const THtmlMessagePage& page = Request().Page;
    resize(page.DefaultWidth ? DefaultPageWidth : page.Width, page.Height);
    Navigate();
}

void THtmlMessageForm::Navigate()
{
    const THtmlMessagePage& page = Request().Page;
    if (!page.WebserverUrl.isEmpty()) {
        Trace::Value("HtmlMessageForm::Navigate:Navigating to site", page.WebserverUrl);
        m_siteLoaded = SiteOf(page);
        ReplaceTemplateFile({});
        GuardedPage().LoadHome(HtmlPageUrl(page.WebserverUrl));
        return;
    }
    m_siteLoaded.clear();
    // Throws when the template cannot be read: the window then does not open.
    ReplaceTemplateFile(CreateHTMLTemplatePage(page.Template, page.ResultList));
    // Under its own scheme, never as a file:// page that could read the user's files.
    GuardedPage().LoadHome(HtmlPageFileUrl(m_templateFile));
}

void THtmlMessageForm::WVBrowserBasicAuthenticationRequested(const QUrl& requestUrl, QAuthenticator* authenticator)
{
    const THtmlMessagePage& page = Request().Page;
    if (!ShouldAnswerLogin(page, requestUrl)) {
        Trace::Value("HtmlMessageForm::WVBrowserBasicAuthenticationRequested:Login not answered",
                     requestUrl.toString(QUrl::RemoveUserInfo));
        // A null authenticator cancels the request.
        *authenticator = QAuthenticator();
        return;
    }
    authenticator->setUser(page.User);
    authenticator->setPassword(page.Password);
}

void THtmlMessageForm::FocusChanged(const QWidget* old, const QWidget* now)
{
    const bool wasInPage = IsInPage(old);
    const bool isInPage = IsInPage(now);
    if (isInPage && !wasInPage)
        OnMouseEnter();
    else if (wasInPage && !isInPage)
        OnMouseLeave();
}

bool THtmlMessageForm::IsInPage(const QWidget* widget) const
{
    return widget && (widget == ui->webBrowser || ui->webBrowser->isAncestorOf(widget));
}

// What a loaded site depends on: an action edited since then (another address,
// another login) loads it anew.
QStringList THtmlMessageForm::SiteOf(const THtmlMessagePage& page)
{
    return {page.WebserverUrl, page.User, page.Password};
}

// The page file of the previous call is not needed once the next one is made;
// a file that cannot be deleted is left to the clean-up at start and end.
void THtmlMessageForm::ReplaceTemplateFile(const QString& path)
{
    if (!m_templateFile.isEmpty() && m_templateFile != path)
        QFile::remove(m_templateFile);
    m_templateFile = path;
}
