// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ui/MessageFormColors.h"
#include "frontend/MessageWindowRequest.h"
#include "settings/UserSettings.h"

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class TBaseMessageForm;
}

class TActionSequence;
class TActionSequenceButton;
class TClientLineMgr;
class QLabel;
class TOrvixLine;
class TParameters;

/**
 * @brief The common base of the desktop notification windows (balloon and HTML
 * message): a frameless, rounded, partly transparent tool window that stays on
 * top and never takes the focus, with a caption line and close button, a
 * content panel the derived window fills, and a row of buttons that run the
 * action sequences the message names on the call it shows.
 *
 * The window copies all it shows from the request: an editor may put another
 * model in force and free the old one while the window is open, so sequences
 * are looked up by ID in the model in force (ModelSource) whenever a button is
 * made, refreshed or clicked, and a click holds that model for its whole run.
 * The call snapshot is shared with the run that opened the window; the window
 * keeps its own line-manager connection only to hear that some line changed
 * and re-ask its buttons' actions whether they can run.
 *
 * The collection (TMessageWindows) creates, opens, stacks and closes windows.
 * What a derived window uses or overrides:
 * - MessagePanel(): panel_Message, the content area to fill.
 * - FormShow(): runs on every opening (and re-opening of a reused window);
 *   call the base first, then lay out the content. The base sets colours,
 *   caption, buttons and countdown for the window's width at that moment.
 * - FormPreload(): a window made ahead of any call (Preload) prepares its
 *   content here; it is not shown.
 * - AlignRequested(): emit it through RequestAlign() after changing the size,
 *   so that the collection re-stacks the windows.
 * - StackGroup(): HTML windows stack before balloon windows; a plain base
 *   window is not stacked.
 * - Request(), Line(), Preloaded(), Colors(), NotificationSettings(): what the
 *   window shows and how.
 * Closing a preloaded or demonstration window only hides it; any other window
 * deletes itself when closed.
 */
class TBaseMessageForm : public QWidget
{
    Q_OBJECT

public:
    using TModelSource = std::function<std::shared_ptr<TParameters>()>;

    enum class TStackGroup
    {
        None,
        Html,
        Balloon
    };

    explicit TBaseMessageForm(TModelSource modelSource);
    ~TBaseMessageForm() override;

    /**
     * Shows the window for a request: takes its call snapshot (which follows
     * its line from then on, unless it is the rule test's or follows already),
     * makes a new own line-manager connection, runs FormShow and shows the
     * window without activating it. A window shown before is shown again with
     * the new request. Throws when something of it fails; the window is then
     * not shown.
     */
    void Open(const TMessageWindowRequest& request, const TNotificationSettings& settings);
    // Makes the window ahead of any call: it keeps the request and prepares its
    // content, but stays hidden (and is hidden again whenever it is closed).
    void Preload(const TMessageWindowRequest& request, const TNotificationSettings& settings);

    const TMessageWindowRequest& Request() const { return m_request; }
    const std::shared_ptr<TOrvixLine>& Line() const { return m_line; }
    const TNotificationSettings& NotificationSettings() const { return m_settings; }
    // For the next opening; a shown demonstration window takes them at once.
    void SetNotificationSettings(const TNotificationSettings& settings);
    bool Preloaded() const { return FPreloaded; }
    // The user dragged the window: it has left the stack and does not fade.
    bool Moved() const { return FMoved; }
    // The window takes a place in the stack: it is shown (or being opened) and
    // was not moved by the user. A hidden preloaded window takes none.
    bool Stacked() const { return m_shown && !FMoved; }
    virtual TStackGroup StackGroup() const { return TStackGroup::None; }

    // Derives the colour set from the body colour and applies it to the window.
    void SetFormColor(const QColor& color);
    const TMessageFormColors& Colors() const { return m_colors; }
    // Opacity 0 .. 255; the window's own opacity follows it.
    int Alpha() const { return m_alpha; }

    // Puts the window at a place of the stack (not a move by the user).
    void PlaceAt(const QPoint& topLeft);

    QWidget* MessagePanel() const;
    QList<TActionSequenceButton*> SequenceButtons() const;

    // The countdown to fading, and one step of fading (timer slots, public so
    // that the behaviour can be stepped without waiting).
    void timer_FadeOutTimer();
    void timer_PerformFadingTimer();
    bool FadeOutActive() const { return timer_FadeOut.isActive(); }
    bool FadingActive() const { return timer_PerformFading.isActive(); }

    void OnMouseEnter();
    void OnMouseLeave();

    // For the keyboard, reached from the tray menu: the window takes the focus
    // (which it never takes by itself), stops fading and gives the focus to its
    // first button that can run.
    void TakeKeyboard();

    // Re-asks every button's actions whether they can run on the window's call.
    void RefreshSequenceButtons();
    void ClientLineMgrNotification(TClientLineMgr* sender, int eventMsg, int eventParam);

signals:
    // The window's size or visibility changed: the stack needs aligning.
    void AlignRequested();

protected:
    virtual void FormShow();
    virtual void FormPreload() { }
    void RequestAlign() { emit AlignRequested(); }
    QLabel* CaptionLabel() const;

    // "Segoe UI Semibold" where the desktop has it, else the desktop's own font
    // in semibold: the window's look with the fonts Linux desktops have.
    static QFont SemiboldFont(int pixelSize);

    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Whether the window, now settled, stands where the stack did not put it.
    void JudgeMove();

private:
    void CreateActionSequenceButtons();
    void speedButton_TemplateClick(int slot);
    void speedButton_CloseClick();
    TActionSequence* FindSequence(const TParameters& model, int slot) const;
    bool SequenceCanExecute(const TActionSequence& sequence, bool traceActions) const;
    void SetAlpha(int alpha);
    int ConfiguredAlpha() const;
    // The colour and opacity the settings give.
    void ApplyNotificationSettings();
    void ConnectLineManager();
    // Tells assistive technology that a notification came, with what it says.
    void Announce();

    std::unique_ptr<Ui::TBaseMessageForm> ui;
    TModelSource m_modelSource;
    TMessageWindowRequest m_request;
    TNotificationSettings m_settings;
    TMessageFormColors m_colors;
    std::shared_ptr<TOrvixLine> m_line;
    std::unique_ptr<TClientLineMgr> FClientLineMgr;
    QList<QPointer<TActionSequenceButton>> m_buttons;
    QTimer timer_FadeOut;
    QTimer timer_PerformFading;
    // A move is judged once no further one came for this long.
    static constexpr int MoveSettleMs = 400;
    QTimer timer_MoveSettle;
    int m_alpha = 255;
    bool FMoved = false;
    bool FMouseDown = false;
    bool FPreloaded = false;
    bool m_shown = false;
    // Where the stack put the window lately. A move to anywhere else is the
    // user's; the window system may report a placement late, after the next one
    // was asked for, or after the mouse was released.
    QList<QPoint> m_placements;
    // Without a window manager the window follows the mouse itself.
    bool m_manualDrag = false;
    QPoint m_dragOffset;
};
