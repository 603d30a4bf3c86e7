// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QUrl>
#include <QWebEnginePage>

class QWebEngineProfile;

// What the HTML message windows' pages may do, kept in one place: the scheme their
// filled pages are served under, the profile's settings and where a page may go.
//
// A filled template holds call data, so it must not be a file:// page: a page of
// that origin could read the settings file, rules.xml or anything else of the
// user's and send it away. It is served under its own scheme instead, with no
// access to local files, and no page may navigate the window away: a link to a
// web page opens in the desktop's browser, anything else is refused.

// The scheme of filled template pages ("kestrun-page").
QByteArray HtmlPageScheme();

// Registers HtmlPageScheme with the engine; before the application object exists.
void RegisterHtmlPageScheme();

// Serves the page files under HtmlPageScheme, turns local file access off and keeps
// pages from opening windows of their own. Once per profile.
void ApplyHtmlWebSecurity(QWebEngineProfile& profile);

// The address a page file (in the data folder) is shown under.
QUrl HtmlPageFileUrl(const QString& pageFile);

// What becomes of a navigation: the page goes there, the desktop's browser opens
// it instead, or nothing happens.
enum class THtmlNavigation
{
    Allow,
    OpenInBrowser,
    Refuse
};

// The decision for a navigation to target, of this type, in the main frame or a
// frame inside it, on a window whose own page is home (a filled page or the
// configured site). The window's own page always loads, and nothing but http and
// https anywhere else (frames inside a page may also be about:blank). On a filled
// page (or a site given as a file) nothing else loads in the main frame: a link to
// http or https opens in the browser. A site given by http or https may move
// within the web (its links, forms, redirects), but a link to another origin opens
// in the browser.
THtmlNavigation DecideHtmlNavigation(const QUrl& target, QWebEnginePage::NavigationType type, bool isMainFrame,
                                     const QUrl& home);

/**
 * @brief The page of an HTML message window: loads its home and follows
 * DecideHtmlNavigation for everything else, new windows included.
 */
class THtmlGuardedPage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit THtmlGuardedPage(QWebEngineProfile& profile, QObject* parent = nullptr);

    // Loads url as the window's own page.
    void LoadHome(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    QUrl m_home;
};
