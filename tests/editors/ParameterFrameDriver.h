// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ModalDriver.h"
#include "editors/definitions/ParameterUserForm.h"
#include "editors/definitions/ParametersFrame.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

// Adds a user parameter with the text through the parameter frame of the dialog.
inline void AddUserParameter(const QWidget& dialog, const QString& text)
{
    auto* frame = dialog.findChild<TParametersFrame*>();
    ASSERT_NE(frame, nullptr);
    auto* available = frame->findChild<QListWidget*>(QStringLiteral("ListBox_AvailableParameters"));
    const QList<QListWidgetItem*> found = available->findItems(QStringLiteral("Benutzer-Parameter"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    available->setCurrentItem(found.first());
    EXPECT_TRUE(DriveModal<TParameterUserForm>(
        [&](TParameterUserForm& parameterDialog) {
            parameterDialog.findChild<QComboBox*>(QStringLiteral("comboBox_UserParameter"))->setEditText(text);
            parameterDialog.findChild<QPushButton*>(QStringLiteral("button_OK"))->click();
        },
        [&] { frame->findChild<QToolButton*>(QStringLiteral("Button_Add"))->click(); }));
}
