// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ParameterForms.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QTimer;
class TParameterSystem;

namespace Ui {
class TParameterSystemForm;
}

/**
 * @brief The dialog of a system parameter: which value of the local system it
 * gives, with the pattern of a date or time or the name of an environment
 * variable. It shows what the parameter gives now and follows every change
 * (and the clock, once a second).
 */
class TParameterSystemForm : public QDialog
{
    Q_OBJECT

public:
    TParameterSystemForm(TParameterSystem& parameter, const TParameterFormContext& context, QWidget* parent = nullptr);
    ~TParameterSystemForm() override;

    void accept() override;

private:
    void ValidateForm();
    // The dialog's values written into a parameter: on OK the edited one, for the preview a scratch one.
    void WriteTo(TParameterSystem& parameter) const;
    QComboBox* SpecialList(int type) const;

    TParameterSystem& m_parameter;
    std::unique_ptr<Ui::TParameterSystemForm> ui;
    std::unique_ptr<TParameterSystem> m_preview;
    QTimer* m_clock;
};
