// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

// The texts of the notices (non-modal message boxes) shown now, closing them.
inline QStringList TakeNotices()
{
    QStringList texts;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (box && box->isVisible()) {
            texts << box->text();
            box->close();
        }
    }
    return texts;
}
