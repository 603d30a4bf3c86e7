// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ui/BaseMessageForm.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

namespace Ui {
class THtmlMessageForm;
}

class QAuthenticator;
class QWebEngineView;
class THtmlGuardedPage;

/**
 * @brief The HTML message window: a notification window that shows a web page,
 * either the configured URL or the action's template filled with the results of
 * the call and saved as a page file (TemplateFile, deleted with the window).
 *
 * Its size comes from the action (the window's minimum of 370 x 170 still holds).
 * A window made ahead of any call (preloaded) loads its site once, at start, and
 * keeps it until its action names another site or login; a template page is
 * made anew for every call, since it shows that call's data. A login the site
 * asks for is answered with the action's user and password only for the
 * configured server itself. A filled page is served under its own scheme, never
 * as a file:// page, and no page navigates the window away (HtmlWebSecurity).
 * While the page has the keyboard focus the window does not fade, as while the
 * mouse is over it.
 */
class THtmlMessageForm : public TBaseMessageForm
{
    Q_OBJECT

public:
    explicit THtmlMessageForm(TModelSource modelSource);
    ~THtmlMessageForm() override;

    TStackGroup StackGroup() const override { return TStackGroup::Html; }

    // The page file made from the template; empty while a URL is shown.
    const QString& TemplateFile() const { return m_templateFile; }
    QWebEngineView* WebBrowser() const;

protected:
    void FormShow() override;
    void FormPreload() override;

private:
    void Navigate();
    THtmlGuardedPage& GuardedPage() const;
    void WVBrowserBasicAuthenticationRequested(const QUrl& requestUrl, QAuthenticator* authenticator);
    void FocusChanged(const QWidget* old, const QWidget* now);
    bool IsInPage(const QWidget* widget) const;
    void ReplaceTemplateFile(const QString& path);
    static QStringList SiteOf(const THtmlMessagePage& page);

    std::unique_ptr<Ui::THtmlMessageForm> ui;
    QString m_templateFile;
    // The site the page shows (address and login); empty for a template page.
    QStringList m_siteLoaded;
};
