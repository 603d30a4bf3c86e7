// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/MessageWindows.h"

#include "actions/ui/BalloonMessageForm.h"
#include "actions/ui/WindowStacking.h"
#include "trace/Trace.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

TMessageWindows::TMessageWindows(const TNotificationSettings& settings, TModelSource modelSource, TWorkAreas workAreas)
    : m_settings(settings)
    , m_modelSource(std::move(modelSource))
    , m_workAreas(std::move(workAreas))
{
}

TMessageWindows::~TMessageWindows()
{
    CloseAll();
}

QList<QRect> TMessageWindows::DesktopWorkAreas()
{
    QList<QRect> workAreas;
    for (const QScreen* screen : QGuiApplication::screens())
        workAreas.append(screen->availableGeometry());
    return workAreas;
}

QRect TMessageWindows::WorkArea(const QList<QRect>& workAreas, int monitor)
{
    if (monitor >= 0 && monitor < workAreas.size())
        return workAreas[monitor];
    return workAreas.value(0);
}

void TMessageWindows::SetNotificationSettings(const TNotificationSettings& settings)
{
    m_settings = settings;
    for (TBaseMessageForm* form : m_formCollection)
        form->SetNotificationSettings(settings);
    AlignWindows();
}

namespace {

// A window as the trace names it. Not its property dump: reading a widget's
// properties lays it out (size hints of every child), the better part of opening
// a window, and tells support nothing that the request's trace does not.
QString FormReference(const TBaseMessageForm& form, const TMessageWindowRequest& request)
{
    return QString::fromLatin1(form.metaObject()->className()) + QStringLiteral(" \"") + request.Caption +
        QStringLiteral("\" for action ") + request.ActionID;
}

} // namespace

std::unique_ptr<TBaseMessageForm> TMessageWindows::CreateForm(TMessageWindowRequest::TKind kind) const
{
    if (kind == TMessageWindowRequest::TKind::Balloon)
        return std::make_unique<TBalloonMessageForm>(m_modelSource);
    return m_htmlFormFactory ? m_htmlFormFactory(m_modelSource) : nullptr;
}

bool TMessageWindows::FocusNewest()
{
    for (auto form = m_formCollection.crbegin(); form != m_formCollection.crend(); ++form) {
        if ((*form)->isVisible()) {
            (*form)->TakeKeyboard();
            return true;
        }
    }
    return false;
}

TBaseMessageForm* TMessageWindows::ReusableForm(const TMessageWindowRequest& request) const
{
    if (request.Kind == TMessageWindowRequest::TKind::Html)
        return m_formHtmlCollection.value(request.ActionID);
    if (!request.Demonstration)
        return nullptr;
    for (TBaseMessageForm* form : m_formCollection) {
        if (form->Request().Demonstration && form->Request().Kind == request.Kind &&
            form->Request().ActionID == request.ActionID)
            return form;
    }
    return nullptr;
}

bool TMessageWindows::Show(const TMessageWindowRequest& request)
{
    const bool html = request.Kind == TMessageWindowRequest::TKind::Html;
    TBaseMessageForm* form = ReusableForm(request);
    if (form) {
        Trace::Value(!html                   ? "ActionBalloonMessage::ExecuteAction:Balloon message form shown again"
                         : form->Preloaded() ? "ActionHTMLMessage::ExecuteAction:Preloaded Html message form"
                                             : "ActionHTMLMessage::ExecuteAction:Open Html message form shown again",
                     FormReference(*form, request));
    } else {
        if (html)
            Trace::Message("ActionHTMLMessage::ExecuteAction:Creating HTML message form");
        std::unique_ptr<TBaseMessageForm> created = CreateForm(request.Kind);
        if (!created) {
            Trace::Error("ActionHTMLMessage::ExecuteAction:No HTML message window available", request.Caption);
            return false;
        }
        form = created.release();
        Register(form, request);
        Trace::Value(html ? "ActionHTMLMessage::ExecuteAction:Html message form"
                          : "ActionBalloonMessage::ExecuteAction:Balloon message form",
                     FormReference(*form, request));
    }
    Trace::Message(html ? "ActionHTMLMessage::ExecuteAction:Creating form line manager"
                        : "ActionBalloonMessage::ExecuteAction:Creating form line manager");
    FitIntoWorkArea(*form);
    try {
        form->Open(request, m_settings);
    } catch (...) {
        Discard(form);
        throw;
    }
    return true;
}

void TMessageWindows::Preload(const TMessageWindowRequest& request)
{
    if (m_formHtmlCollection.contains(request.ActionID))
        return;
    std::unique_ptr<TBaseMessageForm> created = CreateForm(TMessageWindowRequest::TKind::Html);
    if (!created) {
        Trace::Error("MainForm::PreLoadMessageForms:No HTML message window available", request.Caption);
        return;
    }
    TBaseMessageForm* form = created.release();
    Register(form, request);
    FitIntoWorkArea(*form);
    try {
        form->Preload(request, m_settings);
    } catch (...) {
        Discard(form);
        throw;
    }
    AlignWindows();
}

QRect TMessageWindows::StackingArea() const
{
    return WorkArea(m_workAreas(), m_settings.DesktopNotificationMonitor);
}

// A window no taller than the work area less the stack's margins above and below,
// so that it fits as the first of a column; its content scrolls or is cut instead.
void TMessageWindows::FitIntoWorkArea(TBaseMessageForm& form) const
{
    constexpr int Margins = 2 * 10;
    form.setMaximumHeight(std::max(form.minimumHeight(), StackingArea().height() - Margins));
}

void TMessageWindows::Register(TBaseMessageForm* form, const TMessageWindowRequest& request)
{
    m_formCollection.append(form);
    if (request.Kind == TMessageWindowRequest::TKind::Html)
        m_formHtmlCollection.insert(request.ActionID, form);
    connect(form, &TBaseMessageForm::AlignRequested, this, &TMessageWindows::AlignWindows);
    connect(form, &QObject::destroyed, this, [this, form] {
        Forget(form);
        AlignWindows();
    });
}

void TMessageWindows::Forget(const TBaseMessageForm* form)
{
    m_formCollection.removeAll(form);
    for (auto it = m_formHtmlCollection.begin(); it != m_formHtmlCollection.end();) {
        if (it.value() == form)
            it = m_formHtmlCollection.erase(it);
        else
            ++it;
    }
}

// Later, not now: the window may be the one whose button started the run that
// is opening it again.
void TMessageWindows::Discard(TBaseMessageForm* form)
{
    Forget(form);
    disconnect(form, nullptr, this, nullptr);
    form->hide();
    form->deleteLater();
    AlignWindows();
}

void TMessageWindows::CloseAll()
{
    Trace::Value("MainForm::FormClose:Closing message windows", int(m_formCollection.size()));
    const QList<TBaseMessageForm*> forms = m_formCollection;
    for (TBaseMessageForm* form : forms)
        delete form;
}

void TMessageWindows::AlignWindows()
{
    Trace::Value("BaseMessageForm::AlignWindows:Aligning form on monitor", m_settings.DesktopNotificationMonitor);
    QList<TBaseMessageForm*> stack;
    for (TBaseMessageForm::TStackGroup group :
         {TBaseMessageForm::TStackGroup::Html, TBaseMessageForm::TStackGroup::Balloon}) {
        for (TBaseMessageForm* form : m_formCollection) {
            if (form->StackGroup() == group && form->Stacked())
                stack.append(form);
        }
    }
    QList<QSize> sizes;
    for (const TBaseMessageForm* form : stack)
        sizes.append(form->size());
    const QRect workArea = StackingArea();
    const auto corner = TStackCorner(std::clamp(m_settings.DesktopNotificationPosition, 0, 3));
    const QList<QPoint> positions = StackWindows(workArea, corner, sizes);
    for (qsizetype i = 0; i < positions.size(); ++i)
        stack[i]->PlaceAt(positions[i]);
}
