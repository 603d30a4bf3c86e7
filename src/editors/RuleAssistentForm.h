// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/RuleAssistentPages.h"
#include "model/CallOptions.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TRuleAssistentForm;
}

class TActionSequence;
class TParameters;
class TRule;

/**
 * @brief The rule wizard ("Regelassistent"): leads page by page through one rule's
 * conditions and links the rule to an action sequence.
 *
 * It edits a working copy of the whole model that the caller hands in, with the
 * rule in it (a new rule is appended to the copy by the caller first). The copy
 * may be replaced on the way (the sequence editor works on a copy of its own);
 * after exec() gave Accepted the caller adopts TakeParameters(), and ActiveRule()
 * is the rule in it. On cancel the caller drops the copy.
 *
 * The rule's conditions are written only by "Speichern"; its name (at every key)
 * and its first sequence (at every choice) go into the copy at once.
 */
class TRuleAssistentForm : public QDialog
{
    Q_OBJECT

public:
    // Throws EKestrunError when the copy holds no rule with activeRuleID.
    TRuleAssistentForm(std::unique_ptr<TParameters> workingCopy, const QString& activeRuleID,
                       QWidget* parent = nullptr);
    ~TRuleAssistentForm() override;

    // Once exec() has ended: the working copy as it stands, which the form gives
    // up (null once taken). ActiveRule() and ActiveActionSequence() stay the
    // objects in it.
    std::unique_ptr<TParameters> TakeParameters();
    TRule* ActiveRule() const { return m_activeRule; }
    TActionSequence* ActiveActionSequence() const { return m_activeActionSequence; }

    TRuleAssistentPage CurrentPage() const;

    // "Abbrechen", Escape and closing the window: ends the wizard only when the
    // user confirms dropping the changes.
    void reject() override;

private:
    void FormShow();
    void ConnectControls();
    void ValidateForm();
    void ReloadActionSequences();
    void SelectActionSequence();
    bool CanMoveOn(TRuleAssistentPage page) const;
    void ShowPage(TRuleAssistentPage page);
    // The kind of rule the radio group shows, if one is chosen.
    std::optional<TCallOptionBase> ChosenKind() const;
    TCallOptionBaseSet CallOptionBaseToSave() const;

    void button_NextClick();
    void button_BackClick();
    void button_SaveClick();
    void button_NewClick();
    void button_EditClick();
    // Opens the sequence editor locked on preset in copy; the sequence it ends on, or null when cancelled.
    TActionSequence* EditSequenceLocked(TParameters& copy, const TActionSequence* preset);
    void edit_RuleNameChange(const QString& text);
    // Makes copy the working copy: the sequence editor's, which it returned with OK.
    void AdoptParameters(std::unique_ptr<TParameters> copy, TActionSequence* activeActionSequence);

    std::unique_ptr<Ui::TRuleAssistentForm> ui;
    std::unique_ptr<TParameters> m_parameters;
    const QString m_activeRuleID;
    TRule* m_activeRule = nullptr;
    // Always a sequence of m_parameters, or none.
    TActionSequence* m_activeActionSequence = nullptr;
    bool m_reloadActionSequences = true;
    // A rule that has a name skips the welcome page and cannot go back to it.
    bool m_welcomeEnabled = true;
    // The rule's kinds as it came: a file may hold several, the radio group shows one.
    TCallOptionBaseSet m_openedCallOptionBase;
    std::optional<TCallOptionBase> m_openedKind;
    bool m_validating = false;
};
