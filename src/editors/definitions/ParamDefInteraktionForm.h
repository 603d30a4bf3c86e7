// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <memory>

class TParameterInteraction;

namespace Ui {
class TParamDef_InteraktionForm;
}

/**
 * @brief The dialog of a question put while a call is handled: its title, its
 * text, and a free text field or a drop-down list of options. "Test..." puts
 * the question as it stands in the real question window. Everything is written
 * on OK only, so that "Abbrechen" leaves the parameter as it was.
 */
class TParamDef_InteraktionForm : public QDialog
{
    Q_OBJECT

public:
    explicit TParamDef_InteraktionForm(TParameterInteraction& parameter, QWidget* parent = nullptr);
    ~TParamDef_InteraktionForm() override;

    void accept() override;

private:
    void ValidateForm();
    void WriteTo(TParameterInteraction& parameter) const;
    void InsertItemClick();
    void EditItemClick();
    void DeleteItemClick();
    void MoveItem(int offset);
    void TestClick();

    TParameterInteraction& m_parameter;
    std::unique_ptr<Ui::TParamDef_InteraktionForm> ui;
};
