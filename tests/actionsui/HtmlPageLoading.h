// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QEventLoop>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <optional>

// Bounds the waits below: the browser engine starts on its first page, which
// takes a while in a sanitized build. Not a speed goal: only a hung load fails.
inline constexpr int PageWaitMs = 60000;

// Waits for the page's load that is under way; true when it finished successfully.
inline bool WaitForLoad(QSignalSpy& loadFinished)
{
    if (loadFinished.isEmpty() && !loadFinished.wait(PageWaitMs))
        return false;
    return loadFinished.takeFirst().value(0).toBool();
}

// The value of a script run in the page, or nothing when it gives no answer.
inline std::optional<QVariant> RunScript(QWebEnginePage& page, const QString& script)
{
    std::optional<QVariant> result;
    QEventLoop loop;
    QTimer::singleShot(PageWaitMs, &loop, &QEventLoop::quit);
    page.runJavaScript(script, [&](const QVariant& value) {
        result = value;
        loop.quit();
    });
    loop.exec();
    return result;
}

// Waits until the view shows more than its background: a page's frame reaches the
// widget a little after the page has loaded. For pictures of the window.
inline bool WaitUntilPainted(QWebEngineView& view)
{
    return QTest::qWaitFor(
        [&view] {
            const QImage image = view.grab().toImage();
            const QRgb background = image.pixel(0, 0);
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (image.pixel(x, y) != background)
                        return true;
                }
            }
            return false;
        },
        PageWaitMs);
}
