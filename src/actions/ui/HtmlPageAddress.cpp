// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/HtmlPageAddress.h"

namespace {

int PortOrDefault(const QUrl& url)
{
    if (url.scheme() == u"http")
        return url.port(80);
    if (url.scheme() == u"https")
        return url.port(443);
    return url.port();
}

bool IsSameOrigin(const QUrl& pageUrl, const QUrl& requestUrl)
{
    return pageUrl.isValid() && requestUrl.isValid() && !pageUrl.host().isEmpty() &&
        pageUrl.scheme() == requestUrl.scheme() && pageUrl.host() == requestUrl.host() &&
        PortOrDefault(pageUrl) == PortOrDefault(requestUrl);
}

} // namespace

QUrl HtmlPageUrl(const QString& webserverUrl)
{
    return QUrl::fromUserInput(webserverUrl);
}

bool ShouldAnswerLogin(const THtmlMessagePage& page, const QUrl& requestUrl)
{
    return !page.User.isEmpty() && !page.Password.isEmpty() && IsSameOrigin(HtmlPageUrl(page.WebserverUrl), requestUrl);
}
