// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "frontend/MessageWindowRequest.h"

#include <QString>
#include <QUrl>

// The address an HTML message loads for its configured URL: taken as stored (no
// %NAME% expansion), read the way a browser's address bar reads it, so that
// "intranet.example/crm" means http://intranet.example/crm.
QUrl HtmlPageUrl(const QString& webserverUrl);

// Whether a login asked for by requestUrl is answered with the page's user and
// password: only when both are set and the request goes to the configured URL's
// own scheme, host and port (a scheme's default port counts as given). A redirect
// to another server, or a picture embedded from one, never gets the credentials.
bool ShouldAnswerLogin(const THtmlMessagePage& page, const QUrl& requestUrl);
