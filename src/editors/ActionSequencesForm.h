// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <memory>
#include <vector>

class QTreeWidgetItem;
class TActionSequence;
class TBaseAction;
class TParameters;

namespace Ui {
class TActionSequencesForm;
}

/**
 * @brief The action sequence editor: creates, copies, renames and deletes
 * sequences, picks their icons and fills them with actions from a palette.
 *
 * It edits a working copy of the model that its caller owns and adopts when
 * exec() gives Accepted; on Rejected the caller drops the copy. Locked (from the
 * rule wizard) it stays on one sequence: no switching, no new, copy or delete.
 * Every command ends in ValidateForm, which reloads what the command marked and
 * enables the commands that the selection allows.
 */
class TActionSequencesForm : public QDialog
{
    Q_OBJECT

public:
    // Edits parameters, a working copy the caller owns and adopts when exec() gives Accepted.
    explicit TActionSequencesForm(TParameters& parameters, QWidget* parent = nullptr);
    ~TActionSequencesForm() override;

    void SetLocked(bool locked);
    // Preset before showing: the copy's sequence with the same ID is selected.
    void SetActiveActionSequence(const TActionSequence* sequence);
    TActionSequence* ActiveActionSequence() const;

protected:
    // Return in the palette adds its action instead of pressing the dialog's default button.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillIcons();
    void FillPalette();
    void ValidateForm();
    void ReloadSequenceList();
    void ReloadActionList();
    void FillUsedInRules();
    void EnableCommands();

    void comboBox_ActionSequencesChange();
    void comboBox_IconsChange();
    void button_AddClick();
    void listBox_AvailableBaseActionsDblClick();
    void button_EditActionClick();
    void button_RemoveClick();
    void MoveAction(int offset);
    void button_NewClick();
    void button_CopyClick();
    void button_RenameClick();
    void button_DeleteClick();
    void PrepareAndShowForm(bool insert, TBaseAction* baseAction);
    // Appends a sequence to the working copy and selects it.
    void AddSequence(std::unique_ptr<TActionSequence> sequence);
    TBaseAction* SelectedTemplateAction() const;

    TParameters& m_parameters;
    std::unique_ptr<Ui::TActionSequencesForm> ui;
    // The palette's actions, one per node that carries one; they only stand for their class.
    std::vector<std::unique_ptr<TBaseAction>> m_templateActions;
    TActionSequence* m_activeActionSequence = nullptr;
    TBaseAction* m_activeAction = nullptr;
    bool m_reloadActionSequences = true;
    bool m_reloadActions = true;
    bool m_locked = false;
};
