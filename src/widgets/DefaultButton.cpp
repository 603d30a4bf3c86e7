// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/DefaultButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

TDefaultButton::TDefaultButton(QWidget& window, QPushButton& button)
    : QObject(&window)
    , m_window(window)
    , m_button(button)
{
    m_button.setDefault(true);
    m_window.installEventFilter(this);
}

bool TDefaultButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_window || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || modifiers != Qt::NoModifier)
        return false;
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    QPushButton* pressed = focused && m_window.isAncestorOf(focused) ? focused : &m_button;
    if (pressed->isEnabled() && pressed->isVisible())
        pressed->click();
    return true;
}
