// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "frontend/UserInterface.h"
#include "pim/PimItem.h"

#include <QDialog>

class QCheckBox;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;

/**
 * @brief The window in which the user completes a new note, journal entry,
 * appointment or task before it goes into the store.
 *
 * Each kind has its own layout (subject and text for all, start for journal
 * entries and appointments, end for appointments, due date and done for tasks);
 * the form takes the fields the layout has. The title names the kind and the
 * item's contact (the caller). "Speichern" (the default button) hands the item
 * to the save it was given and accepts once that succeeded; a failed save is
 * shown and the window stays open with what the user typed. "Abbrechen" and
 * closing the window discard; Interrupt (the program's end) closes it without
 * the user's word, as does an event loop that ends under it. Item() gives the
 * item with what the user entered. The window never writes the store itself.
 */
class TPimItemForm : public QDialog
{
    Q_OBJECT

public:
    explicit TPimItemForm(const TPimItem& item, QWidget* parent = nullptr);

    TPimItem Item() const;
    // How the window ended (Interrupted while it is open).
    TUserInterface::TPimItemOutcome Outcome() const;
    // Closes the window for the program's end: neither saved nor discarded by the user.
    void Interrupt();
    void reject() override;
    // What "Speichern" runs before it accepts; without one it accepts at once.
    void SetSave(TUserInterface::TPimItemSave save) { m_save = std::move(save); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetupLayout(TPimItemKind kind);
    void ShowItem();
    void SaveClicked();

    TPimItem m_item;
    TUserInterface::TPimItemSave m_save;
    bool m_saved = false;
    bool m_discarded = false;
    QLineEdit* m_subject = nullptr;
    QPlainTextEdit* m_body = nullptr;
    QDateTimeEdit* m_start = nullptr;
    QDateTimeEdit* m_end = nullptr;
    QCheckBox* m_hasDue = nullptr;
    QDateTimeEdit* m_due = nullptr;
    QCheckBox* m_completed = nullptr;
};
