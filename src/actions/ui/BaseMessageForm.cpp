// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/BaseMessageForm.h"

#include "actions/ui/ActionSequenceButton.h"
#include "actions/ui/SequenceButtonLayout.h"
#include "model/ActionSequence.h"
#include "model/BaseAction.h"
#include "model/IconList.h"
#include "model/OrvixLine.h"
#include "rulesfile/Parameters.h"
#include "settings/NotificationColor.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/LineEvents.h"
#include "trace/Trace.h"
#include "widgets/RunReport.h"

#include "ui_BaseMessageForm.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <utility>

namespace {

constexpr int FadingIntervalMs = 3;
constexpr int FadingStep = 2;
constexpr int MinimumAlpha = 100;
constexpr int OpaqueAlpha = 255;
constexpr int ButtonIconSize = 32;
constexpr qreal BodyRadius = 10;
// Placements the window system may still report (one per re-stacking).
constexpr int RecentPlacements = 8;

// Asking the font database is a fontconfig search each time, the better part of
// opening a window; the design's few families are looked up once per run.
bool DesktopHasFamily(const QString& family)
{
    static QHash<QString, bool> known;
    auto found = known.constFind(family);
    if (found == known.cend())
        found = known.insert(family, QFontDatabase::hasFamily(family));
    return *found;
}

// A font of the window's design where the desktop has it, else the desktop's
// own font in the weight the design font has.
QFont DesignFont(const QString& family, int pixelSize, QFont::Weight weight)
{
    QFont font = DesktopHasFamily(family) ? QFont(family) : QGuiApplication::font();
    font.setWeight(weight);
    font.setPixelSize(pixelSize);
    return font;
}

// The fading ticks keep the event loop from ever waiting, and on X11 Qt sends its
// requests to the display server only when the loop waits: without a flush the
// window would keep its opacity for the whole fade and then vanish. Only the
// requests go out; no event is handled here.
void FlushWindowSystem()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // Other platforms (offscreen, Wayland) answer without a connection.
    if (xcb_connection_t* connection = x11 ? x11->connection() : nullptr)
        xcb_flush(connection);
}

} // namespace

TBaseMessageForm::TBaseMessageForm(TModelSource modelSource)
    : ui(std::make_unique<Ui::TBaseMessageForm>())
    , m_modelSource(std::move(modelSource))
{
    ui->setupUi(this);
    Trace::Message("BaseMessageForm::FormCreate");
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The corners outside the rounded body are transparent pixels.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);

    setFont(DesignFont(QStringLiteral("Tahoma"), 11, QFont::Normal));
    ui->label_Caption->setFont(SemiboldFont(16));
    ui->speedButton_Close->setFont(DesignFont(QGuiApplication::font().family(), 16, QFont::Normal));
    connect(ui->speedButton_Close, &QToolButton::clicked, this, &TBaseMessageForm::speedButton_CloseClick);

    timer_FadeOut.setSingleShot(true);
    connect(&timer_FadeOut, &QTimer::timeout, this, &TBaseMessageForm::timer_FadeOutTimer);
    timer_PerformFading.setSingleShot(true);
    timer_PerformFading.setInterval(FadingIntervalMs);
    connect(&timer_PerformFading, &QTimer::timeout, this, &TBaseMessageForm::timer_PerformFadingTimer);
    timer_MoveSettle.setSingleShot(true);
    timer_MoveSettle.setInterval(MoveSettleMs);
    connect(&timer_MoveSettle, &QTimer::timeout, this, &TBaseMessageForm::JudgeMove);
}

TBaseMessageForm::~TBaseMessageForm()
{
    Trace::Message("BaseMessageForm::FormDestroy");
    if (FClientLineMgr)
        FClientLineMgr->Disconnect();
}

QFont TBaseMessageForm::SemiboldFont(int pixelSize)
{
    return DesignFont(QStringLiteral("Segoe UI Semibold"), pixelSize, QFont::DemiBold);
}

void TBaseMessageForm::Open(const TMessageWindowRequest& request, const TNotificationSettings& settings)
{
    m_request = request;
    m_settings = settings;
    // A rule run without a call (program start) still gets a line object, so
    // that the buttons' actions have one to ask about.
    m_line = request.Line ? request.Line : std::make_shared<TOrvixLine>();
    // The snapshot is shared by every window of its run: the first one makes it
    // follow its line, through one connection that lives as long as the snapshot.
    if (request.Line && !m_line->IsTestMode() && !m_line->ClientLineMgr()) {
        auto lineMgr = std::make_shared<TClientLineMgr>();
        lineMgr->SetAutoConnect(true);
        lineMgr->Connect();
        m_line->FollowLine(std::move(lineMgr));
    }
    m_shown = true;
    ConnectLineManager();
    FormShow();
    show();
    raise();
    Announce();
}

void TBaseMessageForm::Announce()
{
    QStringList lines;
    for (const TMessageRow& row : m_request.Rows)
        lines << (row.Alias.isEmpty() ? row.Value : QString(row.Alias + QStringLiteral(": ") + row.Value));
    setAccessibleName(m_request.Caption);
    setAccessibleDescription(lines.join(u'\n'));
    // The window takes no focus, so a screen reader would not notice it otherwise.
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void TBaseMessageForm::TakeKeyboard()
{
    OnMouseEnter();
    // Changing the flags hides the window; it shows again where it was.
    const QPoint place = pos();
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, false);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    move(place);
    show();
    raise();
    activateWindow();
    QWidget* first = ui->speedButton_Close;
    for (TActionSequenceButton* button : SequenceButtons()) {
        if (button->isEnabled()) {
            first = button;
            break;
        }
    }
    first->setFocus(Qt::ActiveWindowFocusReason);
}

void TBaseMessageForm::Preload(const TMessageWindowRequest& request, const TNotificationSettings& settings)
{
    m_request = request;
    m_settings = settings;
    FPreloaded = true;
    FormPreload();
}

// The window's own connection, only to hear that a line changed. Automatic: a
// softphone that is away now is attached to when it comes back.
void TBaseMessageForm::ConnectLineManager()
{
    if (FClientLineMgr)
        FClientLineMgr->Disconnect();
    FClientLineMgr = std::make_unique<TClientLineMgr>();
    FClientLineMgr->SetAutoConnect(true);
    FClientLineMgr->Connect();
    if (!m_line->IsTestMode()) {
        FClientLineMgr->SetOnDispOnLineMgrNotification([this](TClientLineMgr* sender, int eventMsg, int eventParam) {
            ClientLineMgrNotification(sender, eventMsg, eventParam);
        });
    }
}

void TBaseMessageForm::SetNotificationSettings(const TNotificationSettings& settings)
{
    m_settings = settings;
    if (m_request.Demonstration && m_shown)
        ApplyNotificationSettings();
}

void TBaseMessageForm::ApplyNotificationSettings()
{
    SetAlpha(ConfiguredAlpha());
    SetFormColor(
        ToQColor(GetNotificationColor(m_settings.DesktopNotificationIsWindowsColor,
                                      m_settings.DesktopNotificationIsAccentColor, m_settings.DesktopNotificationColor),
                 palette()));
}

void TBaseMessageForm::FormShow()
{
    Trace::Message("BaseMessageForm::FormShow");
    ApplyNotificationSettings();
    setWindowTitle(m_request.Caption);
    ui->label_Caption->setText(m_request.Caption);
    CreateActionSequenceButtons();
    timer_PerformFading.stop();
    timer_FadeOut.setInterval(m_request.TimeOutSec * 1000);
    if (m_request.TimeOut && !FMoved)
        timer_FadeOut.start();
    else
        timer_FadeOut.stop();
    RequestAlign();
}

void TBaseMessageForm::SetFormColor(const QColor& color)
{
    m_colors = TMessageFormColors::FromColor(color);
    QPalette colors = palette();
    // Every role a child may paint with follows the window's own colours, never
    // the desktop's theme: a dark theme's light text would vanish on a light body.
    for (QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text, QPalette::Link, QPalette::LinkVisited})
        colors.setColor(role, m_colors.FontColor);
    colors.setColor(QPalette::Window, m_colors.TransparentColor);
    colors.setColor(QPalette::Base, m_colors.FormColor);
    colors.setColor(QPalette::Button, m_colors.FormColor);
    setPalette(colors);
    for (TActionSequenceButton* button : SequenceButtons())
        button->SetColors(m_colors.FontColor, m_colors.ButtonBorderColor);
    update();
}

int TBaseMessageForm::ConfiguredAlpha() const
{
    // A settings file without an opacity would otherwise make every window invisible.
    return std::clamp(m_settings.DesktopNotificationTransparencyValue, MinimumAlpha, OpaqueAlpha);
}

void TBaseMessageForm::SetAlpha(int alpha)
{
    m_alpha = alpha;
    if (QWindow* window = windowHandle())
        window->setOpacity(alpha / qreal(OpaqueAlpha));
}

void TBaseMessageForm::PlaceAt(const QPoint& topLeft)
{
    m_placements.removeAll(topLeft);
    m_placements.append(topLeft);
    if (m_placements.size() > RecentPlacements)
        m_placements.removeFirst();
    move(topLeft);
}

QWidget* TBaseMessageForm::MessagePanel() const
{
    return ui->panel_Message;
}

QLabel* TBaseMessageForm::CaptionLabel() const
{
    return ui->label_Caption;
}

QList<TActionSequenceButton*> TBaseMessageForm::SequenceButtons() const
{
    QList<TActionSequenceButton*> buttons;
    for (const QPointer<TActionSequenceButton>& button : m_buttons) {
        if (button)
            buttons.append(button);
    }
    return buttons;
}

TActionSequence* TBaseMessageForm::FindSequence(const TParameters& model, int slot) const
{
    return qobject_cast<TActionSequence*>(model.ActionSequences().GetObjectByID(m_request.SequenceIDs.value(slot)));
}

// Asks each action in turn; the first that cannot run disables the button. Only
// asks: the actions are shared with every run of every call.
bool TBaseMessageForm::SequenceCanExecute(const TActionSequence& sequence, bool traceActions) const
{
    for (TBaseObject* item : sequence.MainList()) {
        const auto* action = qobject_cast<const TBaseAction*>(item);
        if (!action)
            continue;
        if (traceActions)
            Trace::Object("BaseMessageForm::ClientLineMgrNotification:Action", action);
        if (!action->CanExecute(*m_line))
            return false;
    }
    return true;
}

void TBaseMessageForm::CreateActionSequenceButtons()
{
    Trace::Strings("BaseMessageForm::CreateActionSequenceButtons:Creating buttons for sub actions",
                   m_request.SequenceIDs);
    // Later: a button may be the one whose click is still running.
    for (TActionSequenceButton* button : SequenceButtons()) {
        button->hide();
        button->deleteLater();
    }
    m_buttons.clear();
    ui->panel_Botton->setVisible(!m_request.SequenceIDs.isEmpty());
    const std::shared_ptr<TParameters> model = m_modelSource ? m_modelSource() : nullptr;
    if (m_request.SequenceIDs.isEmpty() || !model)
        return;

    const TSequenceButtonLayout layout = TSequenceButtonLayout::ForWindow(width(), int(m_request.SequenceIDs.size()));
    for (int slot = 0; slot < layout.Count; ++slot) {
        try {
            const TActionSequence* sequence = FindSequence(*model, slot);
            if (!sequence)
                continue;
            Trace::Object("BaseMessageForm::CreateActionSequenceButtons:Creating subaction", sequence);
            auto* button = new TActionSequenceButton(slot, ui->panel_Botton);
            button->setGeometry(layout.Left(slot), TSequenceButtonLayout::Top, layout.Width,
                                TSequenceButtonLayout::Height);
            button->setFont(SemiboldFont(13));
            button->SetColors(m_colors.FontColor, m_colors.ButtonBorderColor);
            button->setIcon(QPixmap::fromImage(IconList::Instance().Render(
                sequence->IconIndex(), QSize(ButtonIconSize, ButtonIconSize), m_colors.FontColor)));
            const QString caption = ShortenedCaption(sequence->Name(), button->fontMetrics(), layout.Width);
            button->setText(caption);
            if (caption != sequence->Name())
                button->setToolTip(TActionSequenceButton::PlainToolTip(sequence->Name()));
            button->setEnabled(SequenceCanExecute(*sequence, false));
            connect(button, &QToolButton::clicked, this, [this, slot] { speedButton_TemplateClick(slot); });
            button->show();
            m_buttons.append(button);
        } catch (const std::exception& error) {
            Trace::Exception("BaseMessageForm::CreateActionSequenceButtons", error);
        }
    }
}

void TBaseMessageForm::RefreshSequenceButtons()
{
    Trace::Strings("BaseMessageForm::ClientLineMgrNotification:Update states of action sequence buttons",
                   m_request.SequenceIDs);
    const std::shared_ptr<TParameters> model = m_modelSource ? m_modelSource() : nullptr;
    for (TActionSequenceButton* button : SequenceButtons()) {
        const TActionSequence* sequence = model ? FindSequence(*model, button->Slot()) : nullptr;
        // The rules in force no longer have the sequence: nothing to run.
        if (!sequence) {
            button->setEnabled(false);
            continue;
        }
        Trace::Value("BaseMessageForm::ClientLineMgrNotification:Button found", button->text());
        Trace::Value("BaseMessageForm::ClientLineMgrNotification:Associated sequence id", sequence->ID());
        Trace::Object("BaseMessageForm::ClientLineMgrNotification:Associated sequence", sequence);
        button->setEnabled(SequenceCanExecute(*sequence, true));
    }
}

void TBaseMessageForm::ClientLineMgrNotification(TClientLineMgr* /*sender*/, int eventMsg, int eventParam)
{
    if (eventMsg != CLMgrLineStateChangedMessageEx && eventMsg != CLMgrLineDetailsChangedMessage &&
        eventMsg != CLMgrGroupCallNotificationMessage)
        return;
    Trace::Message(
        DescribeLineMgrEvent(QStringLiteral("BaseMessageForm::ClientLineMgrNotification:"), eventMsg, eventParam));
    RefreshSequenceButtons();
}

// Runs on the window's call with the rules in force now, held for the whole run:
// an editor may put others in force while the run waits in a question.
void TBaseMessageForm::speedButton_TemplateClick(int slot)
{
    const std::shared_ptr<TParameters> model = m_modelSource ? m_modelSource() : nullptr;
    const std::shared_ptr<TOrvixLine> line = m_line;
    TActionSequence* sequence = model ? FindSequence(*model, slot) : nullptr;
    if (!sequence) {
        Trace::Warning("BaseMessageForm::speedButton_TemplateClick:Action sequence not found",
                       m_request.SequenceIDs.value(slot));
        return;
    }
    // The user clicked and watches: a failure is told, not only traced.
    const QString run = QStringLiteral("Die Aktionsfolge ") + u'„' + sequence->Name() + u'“';
    try {
        ReportRunFailures(nullptr, m_request.Caption, run, sequence->ExecuteActions(line));
    } catch (const std::exception& error) {
        Trace::Exception("BaseMessageForm::speedButton_TemplateClick", error);
        ReportRunError(nullptr, m_request.Caption, run, QString::fromUtf8(error.what()));
    }
}

void TBaseMessageForm::speedButton_CloseClick()
{
    timer_FadeOut.stop();
    close();
}

void TBaseMessageForm::timer_FadeOutTimer()
{
    if (FMoved)
        return;
    timer_FadeOut.stop();
    timer_PerformFading.start();
}

void TBaseMessageForm::timer_PerformFadingTimer()
{
    timer_PerformFading.stop();
    SetAlpha(m_alpha > 1 ? m_alpha - FadingStep : 0);
    FlushWindowSystem();
    if (m_alpha > 0)
        timer_PerformFading.start();
    else
        close();
}

void TBaseMessageForm::OnMouseEnter()
{
    timer_FadeOut.stop();
    timer_PerformFading.stop();
    // A demonstration shows the opacity being chosen, also to the user who looks at it closely.
    SetAlpha(m_request.Demonstration ? ConfiguredAlpha() : OpaqueAlpha);
}

void TBaseMessageForm::OnMouseLeave()
{
    if (FMouseDown)
        return;
    timer_FadeOut.setInterval(m_request.TimeOutSec * 1000);
    if (m_request.TimeOut && !FMoved)
        timer_FadeOut.start();
    SetAlpha(ConfiguredAlpha());
}

void TBaseMessageForm::paintEvent(QPaintEvent* /*event*/)
{
    try {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath body;
        body.addRoundedRect(QRectF(1, 1, width() - 3, height() - 3), BodyRadius, BodyRadius);
        painter.fillPath(body, m_colors.FormColor);
        painter.setPen(QPen(m_colors.FormBorderColor, 2));
        painter.drawPath(body);
    } catch (const std::exception& error) {
        Trace::Exception("BaseMessageForm::FormPaint", error);
    }
}

void TBaseMessageForm::closeEvent(QCloseEvent* event)
{
    Trace::Message("BaseMessageForm::FormCloseQuery");
    timer_FadeOut.stop();
    timer_PerformFading.stop();
    if (FPreloaded || m_request.Demonstration) {
        Trace::Message("BaseMessageForm::FormDestroy:Form is preloaded, hiding form...");
        event->ignore();
        hide();
        return;
    }
    Trace::Message("BaseMessageForm::FormClose");
    event->accept();
}

void TBaseMessageForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        speedButton_CloseClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TBaseMessageForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    SetAlpha(m_alpha);
}

// Hidden, the window gives its place in the stack to the others.
void TBaseMessageForm::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous() || !m_shown)
        return;
    m_shown = false;
    RequestAlign();
}

void TBaseMessageForm::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    FMouseDown = false;
    OnMouseEnter();
}

void TBaseMessageForm::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    OnMouseLeave();
}

void TBaseMessageForm::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    Trace::Message("BaseMessageForm::OnMouseDown:Drag starting....");
    SetAlpha(OpaqueAlpha);
    FMouseDown = true;
    const QWindow* window = windowHandle();
    m_manualDrag = !window || !windowHandle()->startSystemMove();
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void TBaseMessageForm::mouseMoveEvent(QMouseEvent* event)
{
    if (m_manualDrag && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
    else
        QWidget::mouseMoveEvent(event);
}

void TBaseMessageForm::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    Trace::Message("BaseMessageForm::OnMouseDown:Drag stopping....");
    FMouseDown = false;
    // The window followed the mouse itself: where it stands now is the user's choice.
    if (std::exchange(m_manualDrag, false) && timer_MoveSettle.isActive()) {
        timer_MoveSettle.stop();
        JudgeMove();
    }
}

// A move of the shown window that the stack did not make is the user's, by
// dragging or by the window manager's own means: the window stays where it was
// put, out of the stack, and no longer fades. Judged once the window has settled:
// a window manager maps a window at a place of its own first and reports the
// stack's placement only after that.
void TBaseMessageForm::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (!FMoved && m_shown && isVisible() && !m_placements.contains(event->pos()))
        timer_MoveSettle.start();
}

void TBaseMessageForm::JudgeMove()
{
    if (FMoved || !m_shown || !isVisible() || m_placements.contains(pos()))
        return;
    Trace::Message("BaseMessageForm::OnMouseDown:Window moved by the user, leaving the stack");
    FMoved = true;
    timer_FadeOut.stop();
    timer_PerformFading.stop();
    RequestAlign();
}
