// SPDX-License-Identifier: GPL-3.0-or-later

#include "MessageFormFixture.h"

#include "actions/ui/ActionSequenceButton.h"
#include "actions/ui/BalloonMessageForm.h"
#include "actions/ui/MessageWindows.h"
#include "platform/KestrunError.h"

#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

// Stands in for the HTML message window: stacks with the HTML windows and,
// when told, fails while showing.
class TestHtmlForm : public TBaseMessageForm
{
public:
    TestHtmlForm(TModelSource modelSource, bool failing)
        : TBaseMessageForm(std::move(modelSource))
        , m_failing(failing)
    {
        resize(370, 300);
    }

    TStackGroup StackGroup() const override { return TStackGroup::Html; }

protected:
    void FormShow() override
    {
        TBaseMessageForm::FormShow();
        if (m_failing)
            throw EKestrunError(QStringLiteral("page cannot load"));
    }

private:
    bool m_failing;
};

class MessageWindows : public MessageFormFixture
{
protected:
    MessageWindows()
    {
        m_windows.SetHtmlFormFactory([this](const TBaseMessageForm::TModelSource& source) {
            ++m_htmlFormsMade;
            return std::make_unique<TestHtmlForm>(source, m_failing);
        });
    }

    TMessageWindowRequest Balloon() const
    {
        TMessageWindowRequest request = Request();
        request.Rows = {{QStringLiteral("Name"), QStringLiteral("Anna Berg")}};
        return request;
    }

    TMessageWindowRequest Html(const QString& actionID = QStringLiteral("{html}")) const
    {
        TMessageWindowRequest request = Request();
        request.Kind = TMessageWindowRequest::TKind::Html;
        request.ActionID = actionID;
        request.Page.ShowInvisible = true;
        return request;
    }

    QList<QPoint> Positions() const
    {
        QList<QPoint> positions;
        for (const TBaseMessageForm* form : m_windows.FormCollection())
            positions.append(form->pos());
        return positions;
    }

    // Drags the window by its caption with the mouse, as far as the platform lets
    // the window move itself.
    static void Drag(TBaseMessageForm& form, QPoint by)
    {
        auto* caption = form.findChild<QLabel*>(QStringLiteral("label_Caption"));
        const QPoint start = caption->mapToGlobal(QPoint(5, 5));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(start), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(caption, &press);
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5) + by, QPointF(start + by), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(caption, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5) + by, QPointF(start + by), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(caption, &release);
    }

    int m_htmlFormsMade = 0;
    bool m_failing = false;
    TMessageWindows m_windows {m_settings, ModelSource(), [] { return QList<QRect> {QRect(0, 0, 1920, 1040)}; }};
};

TEST_F(MessageWindows, WindowsStackInTheCornerHtmlFirstAndCloseUpWhenOneGoes)
{
    ASSERT_TRUE(m_windows.Show(Balloon()));
    ASSERT_TRUE(m_windows.Show(Html()));
    ASSERT_TRUE(m_windows.Show(Balloon()));
    // In order of creation: balloon, HTML (300 high), balloon.
    EXPECT_EQ(Positions(), (QList<QPoint> {{1550, 550}, {1550, 730}, {1550, 370}}));

    delete m_windows.FormCollection().first();
    EXPECT_EQ(Positions(), (QList<QPoint> {{1550, 730}, {1550, 550}}));
}

TEST_F(MessageWindows, AMonitorThatIsNotThereMeansTheFirst)
{
    const QList<QRect> areas {QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};
    EXPECT_EQ(TMessageWindows::WorkArea(areas, 1), areas[1]);
    EXPECT_EQ(TMessageWindows::WorkArea(areas, 2), areas[0]);
    EXPECT_EQ(TMessageWindows::WorkArea(areas, -1), areas[0]);

    m_settings.DesktopNotificationMonitor = 2;
    m_settings.DesktopNotificationPosition = 3;
    TMessageWindows windows(m_settings, ModelSource(), [&areas] { return areas; });
    ASSERT_TRUE(windows.Show(Balloon()));
    EXPECT_EQ(windows.FormCollection().first()->pos(), QPoint(1550, 10));
}

TEST_F(MessageWindows, ADraggedWindowLeavesTheStackAndDoesNotFade)
{
    ASSERT_TRUE(m_windows.Show(Balloon()));
    ASSERT_TRUE(m_windows.Show(Balloon()));
    TBaseMessageForm* dragged = m_windows.FormCollection().first();
    Drag(*dragged, QPoint(-300, -200));

    EXPECT_TRUE(dragged->Moved());
    EXPECT_EQ(dragged->pos(), QPoint(1250, 660));
    // The other window takes the corner.
    EXPECT_EQ(m_windows.FormCollection()[1]->pos(), QPoint(1550, 860));
    EXPECT_FALSE(dragged->FadeOutActive());
    dragged->timer_FadeOutTimer();
    EXPECT_FALSE(dragged->FadingActive());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(dragged, &leave);
    EXPECT_FALSE(dragged->FadeOutActive());
}

TEST_F(MessageWindows, AWindowThatFailsToOpenLeavesNothingBehind)
{
    ASSERT_TRUE(m_windows.Show(Balloon()));
    m_failing = true;
    EXPECT_THROW(m_windows.Show(Html()), EKestrunError);
    EXPECT_EQ(m_windows.FormCollection().size(), 1);
    EXPECT_EQ(m_windows.HtmlForm(QStringLiteral("{html}")), nullptr);
    // The next run of the action opens a new window.
    m_failing = false;
    EXPECT_TRUE(m_windows.Show(Html()));
    EXPECT_EQ(m_windows.FormCollection().size(), 2);
}

TEST_F(MessageWindows, AnHtmlMessageShowsItsOpenWindowAgainWithTheNewCall)
{
    AddSequence(*m_model, QStringLiteral("S"), QStringLiteral("Notiz"));
    ASSERT_TRUE(m_windows.Show(Html()));
    TBaseMessageForm* form = m_windows.HtmlForm(QStringLiteral("{html}"));
    ASSERT_NE(form, nullptr);

    TMessageWindowRequest second = Html();
    second.SequenceIDs = {QStringLiteral("S")};
    ASSERT_TRUE(m_windows.Show(second));
    EXPECT_EQ(m_htmlFormsMade, 1);
    EXPECT_EQ(m_windows.FormCollection(), (QList<TBaseMessageForm*> {form}));
    EXPECT_EQ(form->Line(), second.Line);
    EXPECT_EQ(form->SequenceButtons().size(), 1);
    EXPECT_TRUE(form->FadeOutActive());
}

// Hidden, a preloaded window leaves the corner to the others; shown, it takes
// the first place, and closing it hides it again.
TEST_F(MessageWindows, APreloadedWindowWaitsHiddenOutOfTheStackAndOnlyHidesWhenClosed)
{
    m_windows.Preload(Html());
    m_windows.Preload(Html());
    ASSERT_EQ(m_windows.FormCollection().size(), 1);
    TBaseMessageForm* preloaded = m_windows.FormCollection().first();
    EXPECT_TRUE(preloaded->Preloaded());
    EXPECT_TRUE(preloaded->isHidden());

    ASSERT_TRUE(m_windows.Show(Balloon()));
    TBaseMessageForm* balloon = m_windows.FormCollection().last();
    EXPECT_EQ(balloon->pos(), QPoint(1550, 860)) << "no gap for the hidden window";

    ASSERT_TRUE(m_windows.Show(Html()));
    EXPECT_EQ(m_htmlFormsMade, 1);
    EXPECT_TRUE(preloaded->isVisible());
    EXPECT_EQ(Positions(), (QList<QPoint> {{1550, 730}, {1550, 550}}));
    preloaded->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(preloaded->isHidden());
    EXPECT_EQ(m_windows.HtmlForm(QStringLiteral("{html}")), preloaded);
    EXPECT_EQ(balloon->pos(), QPoint(1550, 860)) << "the balloon moves down again";

    m_windows.CloseAll();
    EXPECT_TRUE(m_windows.FormCollection().isEmpty());
}

// Sixty rows would make a balloon taller than the screen: it stops at the work
// area, its rows scroll, its buttons stay in sight, and the windows after it
// still stack.
TEST_F(MessageWindows, ABalloonWithManyRowsFitsTheWorkAreaAndScrolls)
{
    AddSequence(*m_model, QStringLiteral("S"), QStringLiteral("Notiz"));
    TMessageWindowRequest tall = Balloon();
    tall.SequenceIDs = {QStringLiteral("S")};
    tall.Rows.clear();
    for (int i = 0; i < 60; ++i)
        tall.Rows.append({QStringLiteral("Feld %1").arg(i), QStringLiteral("Wert %1").arg(i)});
    ASSERT_TRUE(m_windows.Show(tall));
    auto* form = qobject_cast<TBalloonMessageForm*>(m_windows.FormCollection().first());
    ASSERT_NE(form, nullptr);

    const QRect workArea(0, 0, 1920, 1040);
    EXPECT_EQ(form->height(), 1020);
    EXPECT_TRUE(workArea.contains(form->geometry()));
    ASSERT_EQ(form->SequenceButtons().size(), 1);
    TActionSequenceButton* button = form->SequenceButtons().first();
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(form->rect().contains(QRect(button->mapTo(form, QPoint(0, 0)), button->size())));
    auto* rows = form->findChild<QScrollArea*>(QStringLiteral("scrollBox_Results"));
    ASSERT_NE(rows, nullptr);
    EXPECT_GT(rows->verticalScrollBar()->maximum(), 0) << "the rows scroll";
    EXPECT_EQ(form->ResultLabels().size(), 120);
    const QLabel* lastValue = form->ResultLabels().last();
    EXPECT_LE(lastValue->x() + lastValue->width(), rows->viewport()->width()) << "no value under the scroll bar";

    ASSERT_TRUE(m_windows.Show(Balloon()));
    EXPECT_EQ(m_windows.FormCollection()[1]->pos(), QPoint(1170, 860)) << "the next window stacks in the next column";
}

TEST_F(MessageWindows, WithoutAnHtmlWindowMakerAnHtmlMessageDoesNotOpen)
{
    TMessageWindows windows(m_settings, ModelSource());
    EXPECT_FALSE(windows.Show(Html()));
    EXPECT_TRUE(windows.FormCollection().isEmpty());
}

} // namespace
