// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TParamDef_Interaktion_ComboBoxForm;
}

/**
 * @brief Asks for one option of a question's drop-down list; "OK" only while
 * the option is not empty.
 */
class TParamDef_Interaktion_ComboBoxForm : public QDialog
{
    Q_OBJECT

public:
    explicit TParamDef_Interaktion_ComboBoxForm(const QString& option, QWidget* parent = nullptr);
    ~TParamDef_Interaktion_ComboBoxForm() override;

    QString Option() const;

private:
    std::unique_ptr<Ui::TParamDef_Interaktion_ComboBoxForm> ui;
};
