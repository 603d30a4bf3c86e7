// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/TemplatePreviewView.h"

#include "actions/ui/HtmlWebProfile.h"
#include "trace/Trace.h"

#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace {

// The engine takes a page handed as text only up to 2 MB, encoded as a data: address.
constexpr qsizetype LargestPage = 1'400'000;

bool IsPageData(const QUrl& url)
{
    return url.scheme() == u"data";
}

// Lets nothing be fetched but the page itself and what it holds as data: addresses.
class TPreviewRequestBlocker : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        if (!IsPageData(info.requestUrl()))
            info.block(true);
    }
};

// Goes to no address but the page handed to it, and opens no window.
class TPreviewPage : public QWebEnginePage
{
public:
    explicit TPreviewPage(QObject* parent)
        : QWebEnginePage(&HtmlWebProfile(), parent)
    {
        QWebEngineSettings* pageSettings = settings();
        pageSettings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        pageSettings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        pageSettings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        pageSettings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        setUrlRequestInterceptor(new TPreviewRequestBlocker(this));
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        const bool accepted = isMainFrame && IsPageData(url) && type != NavigationTypeLinkClicked;
        if (!accepted)
            Trace::Value("TemplateEditor::Preview:Navigation refused", url.toString(QUrl::RemoveUserInfo).left(200));
        return accepted;
    }

    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
};

} // namespace

TTemplatePreviewView::TTemplatePreviewView(QWidget* parent)
    : QWidget(parent)
    , m_view(new QWebEngineView(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setPage(new TPreviewPage(m_view));
    // Its menu would offer to go back, reload or save the page.
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
}

void TTemplatePreviewView::ShowPage(const QString& page)
{
    m_page = page;
    if (page.toUtf8().size() > LargestPage) {
        m_view->setHtml(QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>"
                                       "<p>Die Vorschau kann so große Seiten nicht zeigen.</p></body></html>"));
        return;
    }
    m_view->setHtml(page);
}
