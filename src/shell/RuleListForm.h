// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class TRuleListForm;
}

class QListWidgetItem;
class TParameters;
class TProgram;
class TRule;

/**
 * @brief The content of the main window: the user's rules in the order they are
 * compared with a call, each with its check mark, the description of the
 * selected one, and the commands that create, change, copy, delete, rename,
 * reorder and test rules and open the action sequence editor.
 *
 * It works on the program's model in force. Every change is written to the
 * rules file at once; a cancelled dialog changes and writes nothing. Editors
 * work on a working copy, which the program puts in force when the user
 * confirms; a change that takes objects away (deleting a rule) is made on a copy
 * as well, so that a rule still running keeps the objects it runs on. The
 * selection is kept as the rule's ID, which finds the rule again in whichever
 * model is in force.
 */
class TRuleListForm : public QWidget
{
    Q_OBJECT

public:
    explicit TRuleListForm(TProgram& program, QWidget* parent = nullptr);
    ~TRuleListForm() override;

    // The model was replaced: the list is built afresh, keeping the selection.
    void ReloadRuleList();
    // The selected rule of the model in force, or null.
    TRule* ActiveRule() const;

    void ValidateForm();

    void button_NewClick();
    void button_EditClick();
    void button_CopyClick();
    void button_RenameClick();
    void button_DeleteClick();
    void button_UpClick();
    void button_DownClick();
    void button_TestClick();
    void button_ActionsSequencesClick();

signals:
    // "Ausblenden".
    void HideRequested();

private:
    void checkListBox_RulesClickCheck(QListWidgetItem* item);
    void ImportExportClick();
    void MoveRule(int offset);
    // Puts the confirmed working copy in force, selecting the rule with that ID.
    void AdoptWorkingCopy(std::unique_ptr<TParameters> copy, const QString& activeRuleID);
    // Writes the rules file; a failure is traced under the command's label.
    void SaveRules(const QString& label);
    TParameters& Model() const;

    TProgram& m_program;
    std::unique_ptr<Ui::TRuleListForm> ui;
    QString m_activeRuleID;
    bool m_reloadRules = true;
};
