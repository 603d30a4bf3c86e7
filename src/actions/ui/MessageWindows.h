// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ui/BaseMessageForm.h"
#include "frontend/MessageWindowRequest.h"
#include "settings/UserSettings.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QRect>

#include <functional>
#include <memory>

/**
 * @brief Every notification window of the program: opens them for message
 * actions, keeps them stacked in the chosen corner of the chosen monitor and
 * closes them all at shutdown.
 *
 * FormCollection holds every window in order of creation (hidden preloaded
 * ones too); FormHtmlCollection the HTML message window of each action ID.
 * An HTML message whose window exists (preloaded, or still open from an
 * earlier call) shows that window again with the new call instead of opening
 * a second one; so does a demonstration window that exists. A window that fails to open is discarded at once: it
 * neither stays registered nor keeps a place in the stack. No window is taller than the work area it stacks in.
 *
 * The HTML window is made by the factory given with SetHtmlFormFactory;
 * without one an HTML message does not open.
 */
class TMessageWindows : public QObject
{
    Q_OBJECT

public:
    using TModelSource = TBaseMessageForm::TModelSource;
    // The monitors' work areas (without panels), in the desktop's order: the primary first.
    using TWorkAreas = std::function<QList<QRect>()>;
    using THtmlFormFactory = std::function<std::unique_ptr<TBaseMessageForm>(const TModelSource& modelSource)>;

    TMessageWindows(const TNotificationSettings& settings, TModelSource modelSource,
                    TWorkAreas workAreas = &TMessageWindows::DesktopWorkAreas);
    ~TMessageWindows() override;

    void SetNotificationSettings(const TNotificationSettings& settings);
    void SetHtmlFormFactory(THtmlFormFactory factory) { m_htmlFormFactory = std::move(factory); }

    // Opens the window of a message; false when there is none to open. A window
    // that fails while opening is discarded and the error passed on.
    bool Show(const TMessageWindowRequest& request);
    // Makes the hidden window of an HTML message ahead of its first call.
    void Preload(const TMessageWindowRequest& request);
    // Closes and destroys every window, preloaded ones too.
    void CloseAll();
    // Gives the keyboard to the newest window that shows; false when none shows.
    bool FocusNewest();
    // Puts every shown window that the user has not moved in its place of the
    // stack: HTML windows first, then balloon windows, each in order of creation.
    // A hidden (preloaded) window takes no place.
    void AlignWindows();

    const QList<TBaseMessageForm*>& FormCollection() const { return m_formCollection; }
    TBaseMessageForm* HtmlForm(const QString& actionID) const { return m_formHtmlCollection.value(actionID); }

    static QList<QRect> DesktopWorkAreas();
    // The work area of that monitor; the first (primary) one when there is no such monitor.
    static QRect WorkArea(const QList<QRect>& workAreas, int monitor);

private:
    std::unique_ptr<TBaseMessageForm> CreateForm(TMessageWindowRequest::TKind kind) const;
    // The open or hidden window that shows the request again; null when it needs a new one.
    TBaseMessageForm* ReusableForm(const TMessageWindowRequest& request) const;
    void Register(TBaseMessageForm* form, const TMessageWindowRequest& request);
    void Forget(const TBaseMessageForm* form);
    void Discard(TBaseMessageForm* form);
    QRect StackingArea() const;
    void FitIntoWorkArea(TBaseMessageForm& form) const;

    TNotificationSettings m_settings;
    TModelSource m_modelSource;
    TWorkAreas m_workAreas;
    THtmlFormFactory m_htmlFormFactory;
    QList<TBaseMessageForm*> m_formCollection;
    QHash<QString, TBaseMessageForm*> m_formHtmlCollection;
};
