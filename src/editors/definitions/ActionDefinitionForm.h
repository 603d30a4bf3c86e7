// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QList>

#include <memory>

class QLineEdit;
class QPushButton;
class TActionSequence;
class TBaseAction;
class TParameters;

namespace Ui {
class TActionDefinitionForm;
}

// What a definition dialog is given besides its action.
struct TActionFormContext
{
    // The sequence editor's working copy the action belongs to: its sequences are
    // the ones a message may offer, and parameter dialogs copy through it.
    TParameters* Model = nullptr;
    // The sequence being edited; a message never offers it as its own button.
    const TActionSequence* ActiveActionSequence = nullptr;
};

/**
 * @brief The frame of every action's definition dialog: a white content panel
 * above the button row "OK" (default) and "Abbrechen".
 *
 * A dialog of a kind fills the panel from its own layout (SetupContent) and the
 * fields from the action it is given. The action is a copy, or a new action, that
 * the caller adopts on OK: the dialog writes to it only in WriteFields, so
 * "Abbrechen" leaves it as it was. OK is enabled while IsComplete holds (subclasses
 * call ValidateForm after every change); at OK, Problems names the fields that are
 * not filled in properly, and the first of them gets the focus.
 */
class TActionDefinitionForm : public QDialog
{
    Q_OBJECT

public:
    ~TActionDefinitionForm() override;

    void accept() override;

    QPushButton* OkButton() const;

protected:
    struct TFieldProblem
    {
        QWidget* Field;
        QString Name;
    };

    TActionDefinitionForm(TBaseAction& action, QWidget* parent);

    // Lays the kind's own widgets out on the white panel: ui.setupUi(Content()).
    QWidget* Content() const;
    TBaseAction& Action() const { return m_action; }

    // The caption field's limit, and the limit of the other one-line texts of the dialogs.
    static constexpr int MaxTextLength = 250;
    static void LimitText(QLineEdit* edit);

    virtual bool IsComplete() const { return true; }
    virtual QList<TFieldProblem> Problems() const { return {}; }
    virtual void WriteFields() = 0;
    void ValidateForm();

private:
    TBaseAction& m_action;
    std::unique_ptr<Ui::TActionDefinitionForm> ui;
};
