// SPDX-License-Identifier: GPL-3.0-or-later

#include "MessageFormFixture.h"
#include "Notices.h"
#include "TestActions.h"
#include "TraceCapture.h"
#include "WindowGrab.h"

#include "actions/ui/ActionSequenceButton.h"
#include "actions/ui/MessageFormColors.h"
#include "telephony/LineEvents.h"

#include "platform/KestrunError.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWindow>

namespace {

struct ColorCase
{
    QColor body;
    QColor font;
    QColor border;
    QColor key;
};

TEST(MessageFormColors, LuminanceDecidesTextAndOutlinesAndTheKeyIsTwoBelow)
{
    const QList<ColorCase> cases {
        {QColor(128, 128, 128), Qt::black, QColor(108, 108, 108), QColor(126, 126, 126)},
        {QColor(127, 127, 127), Qt::white, QColor(147, 147, 147), QColor(125, 125, 125)},
        // Channels stop at 0 and 255.
        {QColor(250, 10, 1), Qt::white, QColor(255, 30, 21), QColor(248, 8, 0)},
        {QColor(255, 255, 15), Qt::black, QColor(235, 235, 0), QColor(253, 253, 13)},
    };
    for (const ColorCase& c : cases) {
        const TMessageFormColors colors = TMessageFormColors::FromColor(c.body);
        EXPECT_EQ(colors.FormColor, c.body) << c.body.name().toStdString();
        EXPECT_EQ(colors.FontColor, c.font) << c.body.name().toStdString();
        EXPECT_EQ(colors.FormBorderColor, c.border) << c.body.name().toStdString();
        EXPECT_EQ(colors.ButtonBorderColor, c.border) << c.body.name().toStdString();
        EXPECT_EQ(colors.TransparentColor, c.key) << c.body.name().toStdString();
    }
}

class BaseMessageForm : public MessageFormFixture
{
protected:
    // n sequences "S0" .. named "Folge 0" ...
    QStringList AddSequences(int count)
    {
        QStringList ids;
        for (int i = 0; i < count; ++i) {
            ids.append(QStringLiteral("S%1").arg(i));
            AddSequence(*m_model, ids.last(), QStringLiteral("Folge %1").arg(i));
        }
        return ids;
    }

    static QList<QRect> ButtonBounds(const TBaseMessageForm& form)
    {
        QList<QRect> bounds;
        for (const TActionSequenceButton* button : form.SequenceButtons())
            bounds.append(button->geometry());
        return bounds;
    }

    // Fades the window step by step; returns the opacities it went through.
    static QList<int> FadeOut(TBaseMessageForm& form)
    {
        QList<int> alphas;
        QPointer<TBaseMessageForm> alive(&form);
        form.timer_FadeOutTimer();
        while (alive && alive->FadingActive() && alphas.size() < 300) {
            alive->timer_PerformFadingTimer();
            alphas.append(alive->Alpha());
        }
        return alphas;
    }
};

TEST_F(BaseMessageForm, ButtonsShareTheWidthAndLeaveOutWhatDoesNotFit)
{
    const QStringList ids = AddSequences(7);
    TBaseMessageForm* four = OpenWindow(Request(ids.mid(0, 4)));
    EXPECT_EQ(
        ButtonBounds(*four),
        (QList<QRect> {QRect(10, 10, 80, 65), QRect(100, 10, 80, 65), QRect(190, 10, 80, 65), QRect(280, 10, 80, 65)}));

    TBaseMessageForm* seven = OpenWindow(Request(ids));
    const QList<QRect> bounds = ButtonBounds(*seven);
    ASSERT_EQ(bounds.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bounds[i], QRect(10 + 60 * i, 10, 50, 65)) << i;
    GrabWindow(*seven, QStringLiteral("notification-buttons"));
}

TEST_F(BaseMessageForm, ARepeatedSequenceGetsTwoButtonsAndAnUnknownIdNone)
{
    AddSequences(1);
    TBaseMessageForm* form = OpenWindow(Request({QStringLiteral("S0"), QStringLiteral("gone"), QStringLiteral("S0")}));
    QList<int> buttonSlots;
    for (const TActionSequenceButton* button : form->SequenceButtons())
        buttonSlots.append(button->Slot());
    EXPECT_EQ(buttonSlots, (QList<int> {0, 2}));
}

TEST_F(BaseMessageForm, ALongNameIsShortenedWithDotsAndShownWholeAsToolTip)
{
    const QString name = QStringLiteral("Rückruf <vormerken> und Kollegen informieren");
    AddSequence(*m_model, QStringLiteral("long"), name);
    AddSequence(*m_model, QStringLiteral("short"), QStringLiteral("Ok"));
    TBaseMessageForm* form = OpenWindow(Request({QStringLiteral("long"), QStringLiteral("short")}));
    const QList<TActionSequenceButton*> buttons = form->SequenceButtons();
    ASSERT_EQ(buttons.size(), 2);

    const QString caption = buttons[0]->text();
    EXPECT_TRUE(caption.endsWith(QStringLiteral("..."))) << caption.toStdString();
    EXPECT_TRUE(name.startsWith(caption.chopped(3))) << caption.toStdString();
    EXPECT_LE(buttons[0]->fontMetrics().horizontalAdvance(caption), buttons[0]->width() - 10);
    // One character more would not have fitted.
    const QString longer = name.left(caption.size() - 2) + QStringLiteral("...");
    EXPECT_GT(buttons[0]->fontMetrics().horizontalAdvance(longer), buttons[0]->width() - 10);
    // The tool tip shows the name as written, not as markup.
    EXPECT_EQ(buttons[0]->toolTip(), TActionSequenceButton::PlainToolTip(name));
    EXPECT_TRUE(buttons[0]->toolTip().contains(name.toHtmlEscaped()));

    EXPECT_EQ(buttons[1]->text(), QStringLiteral("Ok"));
    EXPECT_TRUE(buttons[1]->toolTip().isEmpty());
}

TEST_F(BaseMessageForm, CaptionIsPlainTextAndTheWindowTitle)
{
    TMessageWindowRequest request = Request();
    request.Caption = QStringLiteral("<b>x</b>");
    TBaseMessageForm* form = OpenWindow(request);
    auto* caption = form->findChild<QLabel*>(QStringLiteral("label_Caption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), QStringLiteral("<b>x</b>"));
    EXPECT_EQ(caption->textFormat(), Qt::PlainText);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("<b>x</b>"));
    EXPECT_TRUE(form->findChild<QWidget*>(QStringLiteral("panel_Botton"))->isHidden());
}

TEST_F(BaseMessageForm, FadesInStepsOfTwoThenCloses)
{
    m_settings.DesktopNotificationTransparencyValue = 255;
    TBaseMessageForm* form = OpenWindow(Request());
    QPointer<TBaseMessageForm> alive(form);
    EXPECT_TRUE(form->FadeOutActive());
    EXPECT_DOUBLE_EQ(form->windowHandle()->opacity(), 1.0);

    const QList<int> alphas = FadeOut(*form);
    QList<int> expected;
    for (int alpha = 253; alpha >= 1; alpha -= 2)
        expected.append(alpha);
    expected.append(0);
    EXPECT_EQ(alphas, expected);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

TEST_F(BaseMessageForm, HoverStopsFadingAndLeavingRestartsItAtTheConfiguredOpacity)
{
    TBaseMessageForm* form = OpenWindow(Request());
    EXPECT_EQ(form->Alpha(), 230);
    form->timer_FadeOutTimer();
    form->timer_PerformFadingTimer();
    ASSERT_EQ(form->Alpha(), 228);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(form, &enter);
    EXPECT_FALSE(form->FadingActive());
    EXPECT_FALSE(form->FadeOutActive());
    EXPECT_EQ(form->Alpha(), 255);
    EXPECT_DOUBLE_EQ(form->windowHandle()->opacity(), 1.0);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(form, &leave);
    EXPECT_TRUE(form->FadeOutActive());
    EXPECT_FALSE(form->FadingActive());
    EXPECT_EQ(form->Alpha(), 230);
    EXPECT_NEAR(form->windowHandle()->opacity(), 230 / 255.0, 0.01);
}

TEST_F(BaseMessageForm, WithoutTimeOutItNeverFadesAndAMissingOpacityDoesNotHideIt)
{
    m_settings.DesktopNotificationTransparencyValue = 0;
    TMessageWindowRequest request = Request();
    request.TimeOut = false;
    TBaseMessageForm* form = OpenWindow(request);
    EXPECT_FALSE(form->FadeOutActive());
    EXPECT_EQ(form->Alpha(), 100);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(form, &leave);
    EXPECT_FALSE(form->FadeOutActive());
}

TEST_F(BaseMessageForm, AButtonRunsItsSequenceOnTheWindowsCall)
{
    QStringList log;
    auto* action = new RecordingAction(QStringLiteral("Notiz"), log);
    AddSequence(*m_model, QStringLiteral("S"), QStringLiteral("Notiz"), action);
    const TMessageWindowRequest request = Request({QStringLiteral("S")});
    TBaseMessageForm* form = OpenWindow(request);
    ASSERT_EQ(form->SequenceButtons().size(), 1);

    QTest::mouseClick(form->SequenceButtons().first(), Qt::LeftButton);
    EXPECT_EQ(log, QStringList {QStringLiteral("Notiz")});
    ASSERT_EQ(action->lines.size(), 1);
    EXPECT_EQ(action->lines.first(), request.Line);
    EXPECT_TRUE(form->isVisible());
}

namespace {

// An action that fails the way a missing template makes an action fail.
class ThrowingAction : public TBaseAction
{
public:
    void ExecuteAction(TActionContext& /*context*/) override
    {
        throw EKestrunError(QStringLiteral("Template file not found: kundenkarte.htm"));
    }
};

} // namespace

// The user clicked and watches: what went wrong is said, not only traced.
TEST_F(BaseMessageForm, AButtonWhoseSequenceFailsTellsTheUser)
{
    QStringList log;
    AddSequence(*m_model, QStringLiteral("F"), QStringLiteral("Notiz"),
                new RecordingAction(QStringLiteral("Notiz speichern"), log, false));
    AddSequence(*m_model, QStringLiteral("T"), QStringLiteral("Kundenkarte"), new ThrowingAction);
    AddSequence(*m_model, QStringLiteral("S"), QStringLiteral("Gut"), new RecordingAction(QStringLiteral("Gut"), log));
    TBaseMessageForm* form = OpenWindow(Request({QStringLiteral("F"), QStringLiteral("T"), QStringLiteral("S")}));
    ASSERT_EQ(form->SequenceButtons().size(), 3);

    QTest::mouseClick(form->SequenceButtons().at(0), Qt::LeftButton);
    EXPECT_EQ(TakeNotices(),
              QStringList {QStringLiteral("Die Aktionsfolge „Notiz“: Nicht gelungen ist „Notiz "
                                          "speichern“.\n\nEinzelheiten stehen im Protokoll.")});
    QTest::mouseClick(form->SequenceButtons().at(1), Qt::LeftButton);
    const QStringList thrown = TakeNotices();
    ASSERT_EQ(thrown.size(), 1);
    EXPECT_TRUE(thrown.at(0).startsWith(QStringLiteral("Die Aktionsfolge „Kundenkarte“ wurde wegen eines Fehlers "
                                                       "abgebrochen:\nTemplate file not found")));
    QTest::mouseClick(form->SequenceButtons().at(2), Qt::LeftButton);
    EXPECT_EQ(TakeNotices(), QStringList());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(BaseMessageForm, ButtonsFollowTheLineState)
{
    TraceCapture trace;
    AddSequence(*m_model, QStringLiteral("S"), QStringLiteral("Annehmen"), new WhileCallLastsAction);
    TBaseMessageForm* form = OpenWindow(Request({QStringLiteral("S")}));
    ASSERT_EQ(form->SequenceButtons().size(), 1);
    EXPECT_TRUE(form->SequenceButtons().first()->isEnabled());

    m_softphone.ChangeState(1, LSTerminated);
    FakeLineManager::Deliver();
    EXPECT_EQ(form->Line()->LineState(), QStringLiteral("LSTerminated"));
    EXPECT_FALSE(form->SequenceButtons().first()->isEnabled());
    EXPECT_TRUE(trace.Has(QStringLiteral("BaseMessageForm::ClientLineMgrNotification:EventMsg: "
                                         "CLMgrLineStateChangedMessageEx EventParam: 3073 LineIndex: 1 "
                                         "LineState: LSTerminated")));
}

TEST_F(BaseMessageForm, TheWindowsOfOneRunShareOneConnectionOfTheirCall)
{
    const TMessageWindowRequest request = Request();
    OpenWindow(request);
    const std::shared_ptr<TClientLineMgr> following = request.Line->ClientLineMgr();
    ASSERT_NE(following, nullptr);
    OpenWindow(request);
    EXPECT_EQ(request.Line->ClientLineMgr(), following);

    TMessageWindowRequest test = Request();
    test.Line->SetIsTestMode(true);
    OpenWindow(test);
    EXPECT_EQ(test.Line->ClientLineMgr(), nullptr);
}

TEST_F(BaseMessageForm, AWindowWorksOnWithTheModelPutInForceAfterItOpened)
{
    QStringList log;
    AddSequence(*m_model, QStringLiteral("S"), QStringLiteral("Notiz"),
                new RecordingAction(QStringLiteral("alt"), log));
    TBaseMessageForm* form = OpenWindow(Request({QStringLiteral("S")}));

    auto replacement = std::make_shared<TParameters>();
    AddSequence(*replacement, QStringLiteral("S"), QStringLiteral("Notiz"),
                new RecordingAction(QStringLiteral("neu"), log));
    m_model = replacement; // the old model is freed here
    m_softphone.ChangeState(1, LSActive);
    FakeLineManager::Deliver();
    ASSERT_EQ(form->SequenceButtons().size(), 1);
    QTest::mouseClick(form->SequenceButtons().first(), Qt::LeftButton);
    EXPECT_EQ(log, QStringList {QStringLiteral("neu")});

    // A model without the sequence leaves nothing to run.
    m_model = std::make_shared<TParameters>();
    form->RefreshSequenceButtons();
    EXPECT_FALSE(form->SequenceButtons().first()->isEnabled());
}

} // namespace
