// SPDX-License-Identifier: GPL-3.0-or-later

#include "HtmlPageLoading.h"
#include "actions/ui/HtmlWebProfile.h"
#include "engine/TemplateFilling.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebEnginePage>

#include <gtest/gtest.h>

namespace {

// A name outside Latin-1 reaches the page intact, even from a template that
// declares an 8-bit charset: the page file is UTF-8 and the browser reads it so.
TEST(HtmlTemplatePage, ShowsNamesOutsideLatin1AsWritten)
{
    QTemporaryDir folder;
    const QString templatePath = folder.filePath(QStringLiteral("message.htm"));
    QFile file(templatePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><head><meta charset=\"windows-1252\"></head>"
               "<body><p id=\"caller\"><#saOrvix Value=\"orvixCallerName\"></p></body></html>");
    file.close();
    const QString name = QStringLiteral("Жанна Müller € 李");
    const QString page = CreateHTMLTemplatePage(templatePath, {QStringLiteral("saOrvix_orvixCallerName=") + name});

    QWebEnginePage browser(&HtmlWebProfile());
    QSignalSpy loaded(&browser, &QWebEnginePage::loadFinished);
    browser.load(QUrl::fromLocalFile(page));
    ASSERT_TRUE(WaitForLoad(loaded));
    EXPECT_EQ(RunScript(browser, QStringLiteral("document.characterSet")), QVariant(QStringLiteral("UTF-8")));
    EXPECT_EQ(RunScript(browser, QStringLiteral("document.getElementById('caller').textContent")), QVariant(name));
    QFile::remove(page);
}

} // namespace
