// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ParameterForms.h"

#include <QWidget>

#include <memory>
#include <vector>

class QListWidgetItem;
class TBaseAction;
class TBaseParameter;
class TParameters;

namespace Ui {
class TParametersFrame;
}

/**
 * @brief The parameter panel of the definition dialogs: which parameters the
 * action uses, in which order, and how each gets its value.
 *
 * It works on the action the dialog holds (a copy, or a new action) and opens
 * the parameter dialogs on copies of the parameters, made through the model the
 * action belongs to; a dialog's OK puts the copy in the parameter's place. Every
 * change ends in ValidateForm and is told through ParametersChanged, so that the
 * dialog can check its fields again.
 */
class TParametersFrame : public QWidget
{
    Q_OBJECT

public:
    explicit TParametersFrame(QWidget* parent = nullptr);
    ~TParametersFrame() override;

    // The action whose parameters the panel edits, and the model it belongs to;
    // then FillParameters. Both outlive the panel's use of them.
    void SetActiveAction(TBaseAction* action, TParameters* model);
    TBaseAction* ActiveAction() const { return m_activeAction; }
    TBaseParameter* ActiveParameter() const { return m_activeParameter; }

    // Offers one parameter of each kind, marks the used list for a rebuild and validates.
    void FillParameters();
    // Rebuilds the used list when marked, selects, and enables the buttons.
    void ValidateForm();
    void ClearSubActionList();
    // Shows the action's parameters again after something else changed them (the
    // template's step may have deleted some).
    void ReloadParameters();
    // Opens the parameter's dialog: on a new parameter of the prototype's kind
    // when create is set, else on a copy of the parameter.
    void PrepareAndShowForm(bool create, TBaseParameter* parameter);

signals:
    void ParametersChanged();

private:
    TBaseParameter* SelectedPrototype() const;
    void Button_AddClick();
    void Button_EditClick();
    void Button_RemoveClick();
    void Move(int offset);
    TParameterFormContext FormContext() const;

    std::unique_ptr<Ui::TParametersFrame> ui;
    TBaseAction* m_activeAction = nullptr;
    TParameters* m_model = nullptr;
    TBaseParameter* m_activeParameter = nullptr;
    bool m_reloadParameters = true;
    // One parameter of each kind; they only stand for their kind.
    std::vector<std::unique_ptr<TBaseParameter>> m_prototypes;
};
