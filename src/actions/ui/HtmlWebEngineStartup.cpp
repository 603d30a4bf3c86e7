// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/HtmlWebEngineStartup.h"

#include "actions/ui/HtmlWebSecurity.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <unistd.h>

void PrepareHtmlWebEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Chromium refuses to start its sandbox as root, and then shows no page at all.
    // Root runs the program only in CI and containers, so the sandbox goes only there.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The engine lists its whole set-up on the terminal at its first page; a
    // QT_LOGGING_RULES of the user's still turns it on.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    RegisterHtmlPageScheme();
}

#if defined(__SANITIZE_ADDRESS__)
// Chromium (built without the sanitizer) frees some of its objects with a size that
// differs from the one it allocated them with; that check would stop every sanitized
// process that shows a page, so it is off in the processes that link the windows.
extern "C" const char* __asan_default_options()
{
    return "new_delete_type_mismatch=0";
}
#endif
