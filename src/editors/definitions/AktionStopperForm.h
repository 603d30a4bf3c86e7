// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ActionDefinitionForm.h"

class TActionStopper;

namespace Ui {
class TAktionStopperForm;
}

/**
 * @brief The stopper's dialog, read as a sentence: "Die 2 nachfolgenden Aktionen
 * nicht ausführen" (or "Keine weiteren Aktionen ausführen") "wenn die vorherige
 * Aktion erfolgreich war."
 */
class TAktionStopperForm : public TActionDefinitionForm
{
    Q_OBJECT

public:
    TAktionStopperForm(TActionStopper& action, QWidget* parent = nullptr);
    ~TAktionStopperForm() override;

protected:
    void WriteFields() override;

private:
    void UpdateEnabling();

    TActionStopper& m_stopper;
    std::unique_ptr<Ui::TAktionStopperForm> ui;
};
