// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <memory>

class TParameterUser;

namespace Ui {
class TParameterUserForm;
}

/**
 * @brief The dialog of a user parameter: a fixed text, or the name of a user
 * variable chosen from those known to the parameter's line object. A text that
 * is one of the listed names refers to that variable.
 */
class TParameterUserForm : public QDialog
{
    Q_OBJECT

public:
    explicit TParameterUserForm(TParameterUser& parameter, QWidget* parent = nullptr);
    ~TParameterUserForm() override;

    void accept() override;

private:
    void ValidateForm();

    TParameterUser& m_parameter;
    std::unique_ptr<Ui::TParameterUserForm> ui;
};
