// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

#include <functional>
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
 * reorder, test, import and export rules and open the action sequence editor.
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
    // The word for a new user above the list, on what to do next.
    void ShowHint(bool shown);
    // The line below the list: the softphone's connection and the processing state.
    void SetStatusText(const QString& text);

    void button_NewClick();
    void button_EditClick();
    void button_CopyClick();
    void button_RenameClick();
    void button_DeleteClick();
    void button_UpClick();
    void button_DownClick();
    void button_TestClick();
    void button_ActionsSequencesClick();
    void button_ImportClick();
    void button_ExportClick();

    // The file choosers of "Import..." and "Export..." (tests answer in their place):
    // the chosen path, empty when the user cancelled.
    void SetImportFileChooser(std::function<QString()> chooser) { m_chooseImportFile = std::move(chooser); }
    void SetExportFileChooser(std::function<QString()> chooser) { m_chooseExportFile = std::move(chooser); }

signals:
    // "Ausblenden".
    void HideRequested();
    // "Anrufliste...".
    void HistoryRequested();

private:
    void checkListBox_RulesClickCheck(QListWidgetItem* item);
    void MoveRule(int offset);
    // Whether the list's entries are the model's rules, in order.
    bool ListShowsRulesOf(const TParameters* model) const;
    // Changes the rule with that ID in a copy of the model, which is then put in force
    // and saved; change returns the ID of the rule to select afterwards. A run that
    // waits (a lookup, a program, a question) walks the list it started with by
    // position, so the list in force is never changed in place.
    void ChangeInCopy(const QString& ruleID, const std::function<QString(TParameters& copy, TRule& rule)>& change,
                      const QString& label);
    // Puts the confirmed working copy in force, selecting the rule with that ID.
    void AdoptWorkingCopy(std::unique_ptr<TParameters> copy, const QString& activeRuleID);
    // Writes the rules file; a failure is traced under the command's label.
    void SaveRules(const QString& label);
    TParameters& Model() const;

    TProgram& m_program;
    std::unique_ptr<Ui::TRuleListForm> ui;
    QString m_activeRuleID;
    bool m_reloadRules = true;
    std::function<QString()> m_chooseImportFile;
    std::function<QString()> m_chooseExportFile;
};
