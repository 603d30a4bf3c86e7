// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/FirstControl.h"

#include <QRadioButton>
#include <QWidget>

namespace {

bool TakesTabFocus(const QWidget& widget, const QWidget& page)
{
    return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget.isEnabled() && widget.isVisibleTo(&page);
}

// Tab enters an exclusive group of radio buttons at its chosen one.
QWidget& ChosenInGroup(QWidget& widget)
{
    auto* radio = qobject_cast<QRadioButton*>(&widget);
    if (!radio || !radio->autoExclusive() || radio->isChecked() || !radio->parentWidget())
        return widget;
    for (QRadioButton* sibling : radio->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
        if (sibling->isChecked() && sibling->autoExclusive() && sibling->isEnabled())
            return *sibling;
    }
    return widget;
}

} // namespace

void FocusFirstControl(QWidget& page)
{
    for (QWidget* widget = page.nextInFocusChain(); widget && widget != &page; widget = widget->nextInFocusChain()) {
        if (page.isAncestorOf(widget) && TakesTabFocus(*widget, page)) {
            ChosenInGroup(*widget).setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
