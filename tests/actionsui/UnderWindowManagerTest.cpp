// SPDX-License-Identifier: GPL-3.0-or-later

#include "MessageFormFixture.h"
#include "WaitUntil.h"

#include "actions/ui/MessageWindows.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

namespace {

// Asks the window manager as the user's tools would.
bool Xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

/**
 * The notification windows on a desktop with a window manager (openbox), where
 * a drag is the window manager's move and positions arrive from it later.
 * tests/CMakeLists.txt runs these on a virtual display of their own; headless
 * they skip.
 */
class UnderWindowManager : public MessageFormFixture
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("KESTRUN_WINDOW_MANAGER") || QGuiApplication::platformName() != u"xcb")
            GTEST_SKIP()
                << "needs a window manager: ctest runs it as actionsui.UnderWindowManager on Xvfb with openbox";
    }

    TMessageWindowRequest Balloon() const
    {
        TMessageWindowRequest request = Request();
        request.Rows = {{QStringLiteral("Name"), QStringLiteral("Anna Berg")}};
        // Counting down, but no window fades while the test waits for the window manager.
        request.TimeOutSec = 600;
        return request;
    }

    // Opens a balloon and waits until the window manager has put it on the screen.
    TBaseMessageForm* ShowBalloon()
    {
        EXPECT_TRUE(m_windows.Show(Balloon()));
        TBaseMessageForm* form = m_windows.FormCollection().last();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
        return form;
    }

    QRect WorkArea() const { return TMessageWindows::WorkArea(TMessageWindows::DesktopWorkAreas(), 0); }

    TMessageWindows m_windows {m_settings, ModelSource()};
};

// The window manager confirms each placement later, often after the next one
// was asked for: none of that is the user's move.
TEST_F(UnderWindowManager, StackedWindowsStayInTheStack)
{
    for (int i = 0; i < 3; ++i)
        ShowBalloon();
    const QRect area = WorkArea();
    const QList<QPoint> expected {{area.right() + 1 - 370, area.bottom() + 1 - 180},
                                  {area.right() + 1 - 370, area.bottom() + 1 - 360},
                                  {area.right() + 1 - 370, area.bottom() + 1 - 540}};
    const auto positions = [this] {
        QList<QPoint> all;
        for (const TBaseMessageForm* form : m_windows.FormCollection())
            all.append(form->frameGeometry().topLeft());
        return all;
    };
    WaitUntil([&] { return positions() == expected; }, 10000);
    EXPECT_EQ(positions(), expected);
    delete m_windows.FormCollection().first();
    WaitUntil([&] { return positions() == expected.first(2); }, 10000);
    EXPECT_EQ(positions(), expected.first(2));
    for (const TBaseMessageForm* form : m_windows.FormCollection())
        EXPECT_FALSE(form->Moved());
}

// Moved through the window manager, as at the end of the user's drag: the
// position arrives from the window manager on its own, after the mouse button is
// up. The window stays where the user put it and does not fade.
TEST_F(UnderWindowManager, AMovedWindowStaysWhereTheUserPutsIt)
{
    TBaseMessageForm* dragged = ShowBalloon();
    TBaseMessageForm* other = ShowBalloon();
    const QPoint corner = m_windows.FormCollection().first()->pos();
    ASSERT_TRUE(WaitUntil([&] { return dragged->frameGeometry().topLeft() == corner; }, 10000));
    ASSERT_TRUE(dragged->FadeOutActive());

    const QPoint by(-400, -300);
    const QPoint target = corner + by;
    ASSERT_TRUE(Xdotool({QStringLiteral("windowmove"), QString::number(dragged->winId()), QString::number(target.x()),
                         QString::number(target.y())}));
    WaitUntil([&] { return dragged->frameGeometry().topLeft() == target; }, 10000);
    ASSERT_EQ(dragged->frameGeometry().topLeft(), target);

    EXPECT_TRUE(WaitUntil([&] { return dragged->Moved(); }, 5000)) << "the move counts";
    EXPECT_FALSE(dragged->FadeOutActive());
    dragged->timer_FadeOutTimer();
    EXPECT_FALSE(dragged->FadingActive());

    // Another window opens: the dragged one stays, the others close up in the corner.
    ShowBalloon();
    WaitUntil([&] { return other->frameGeometry().topLeft() == corner; }, 10000);
    EXPECT_EQ(other->frameGeometry().topLeft(), corner);
    EXPECT_EQ(dragged->frameGeometry().topLeft(), corner + by);
    EXPECT_TRUE(dragged->Moved());
}

} // namespace
