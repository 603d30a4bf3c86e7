// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TRulesChoiceForm;
}

class TParameters;

/**
 * @brief Lets the user tick the rules of a model to import or export: one entry
 * per rule in model order, active rules ticked at first, "Alle wählen", "Alle
 * abwählen", the action button (enabled while a rule is ticked) and "Abbrechen".
 *
 * It is handed the model to choose from and owns it while it shows. The action
 * button takes the unticked rules out of it and closes with OK; TakeParameters
 * then hands it back.
 */
class TRulesChoiceForm : public QDialog
{
    Q_OBJECT

public:
    ~TRulesChoiceForm() override;

    // The model, after OK with the ticked rules only.
    std::unique_ptr<TParameters> TakeParameters();

    void button_SelectAllClick();
    void button_DeselectAllClick();
    void ValidateForm();

protected:
    // actionName: the object name of the action button ("button_Import").
    TRulesChoiceForm(std::unique_ptr<TParameters> parameters, const QString& caption, const QString& label,
                     const QString& actionName, const QString& actionText, QWidget* parent);

private:
    void SetAllChecked(bool checked);
    void button_ActionClick();

    std::unique_ptr<Ui::TRulesChoiceForm> ui;
    std::unique_ptr<TParameters> m_parameters;
};

// "Regeln importieren": the rules of an exchange file.
class TImportRulesForm : public TRulesChoiceForm
{
    Q_OBJECT

public:
    explicit TImportRulesForm(std::unique_ptr<TParameters> parameters, QWidget* parent = nullptr);
};

// "Regeln exportieren": the rules in force, from a copy of the model.
class TExportRulesForm : public TRulesChoiceForm
{
    Q_OBJECT

public:
    explicit TExportRulesForm(std::unique_ptr<TParameters> parameters, QWidget* parent = nullptr);
};
