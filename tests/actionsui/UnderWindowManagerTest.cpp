#include "MessageFormFixture.h"
#include "WaitUntil.h"

#include "actions/ui/MessageWindows.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

namespace {

// The display's real pointer, moved and pressed as the user's mouse would be.
bool Pointer(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

bool PointerTo(const QPoint& point)
{
    return Pointer({QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y())});
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
    EXPECT_TRUE(WaitUntil([&] { return positions() == expected; }, 10000)) << positions();
    delete m_windows.FormCollection().first();
    EXPECT_TRUE(WaitUntil([&] { return positions() == expected.first(2); }, 10000)) << positions();
    for (const TBaseMessageForm* form : m_windows.FormCollection())
        EXPECT_FALSE(form->Moved());
}

// Dragged by the window manager, whose last position arrives after the mouse
// button is up: the window stays where the user put it and does not fade.
TEST_F(UnderWindowManager, ADraggedWindowStaysWhereTheUserPutsIt)
{
    TBaseMessageForm* dragged = ShowBalloon();
    TBaseMessageForm* other = ShowBalloon();
    const QPoint corner = m_windows.FormCollection().first()->pos();
    ASSERT_TRUE(WaitUntil([&] { return dragged->frameGeometry().topLeft() == corner; }, 10000));
    ASSERT_TRUE(dragged->FadeOutActive());

    // The caption line, away from the close button.
    const QPoint grip = dragged->mapToGlobal(QPoint(60, 12));
    const QPoint by(-400, -300);
    ASSERT_TRUE(PointerTo(grip));
    ASSERT_TRUE(Pointer({QStringLiteral("mousedown"), QStringLiteral("1")}));
    // The window manager takes the move over once it has the window's request;
    // the pointer goes on moving until the window follows it.
    int wiggle = 0;
    const bool followed = WaitUntil(
        [&] {
            PointerTo(grip + by + QPoint(++wiggle % 2, 0));
            PointerTo(grip + by);
            return dragged->frameGeometry().topLeft() == corner + by;
        },
        10000);
    ASSERT_TRUE(Pointer({QStringLiteral("mouseup"), QStringLiteral("1")}));
    ASSERT_TRUE(followed) << dragged->frameGeometry().topLeft();

    EXPECT_TRUE(WaitUntil([&] { return dragged->Moved(); }, 5000)) << "the move counts";
    EXPECT_FALSE(dragged->FadeOutActive());
    dragged->timer_FadeOutTimer();
    EXPECT_FALSE(dragged->FadingActive());

    // Another window opens: the dragged one stays, the others close up in the corner.
    ShowBalloon();
    EXPECT_TRUE(WaitUntil([&] { return other->frameGeometry().topLeft() == corner; }, 10000))
        << other->frameGeometry().topLeft();
    EXPECT_EQ(dragged->frameGeometry().topLeft(), corner + by);
    EXPECT_TRUE(dragged->Moved());
}

} // namespace
