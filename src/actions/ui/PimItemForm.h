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
 * caller. "Speichern" (the default button) hands the item to the save it was
 * given and accepts once that succeeded; a failed save is shown and the window
 * stays open with what the user typed. "Abbrechen" and closing the window
 * discard; Item() gives the item with what the user entered. The window never
 * writes the store itself.
 */
class TPimItemForm : public QDialog
{
    Q_OBJECT

public:
    TPimItemForm(const TPimItem& item, const QString& caller, QWidget* parent = nullptr);

    TPimItem Item() const;
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
    QLineEdit* m_subject = nullptr;
    QPlainTextEdit* m_body = nullptr;
    QDateTimeEdit* m_start = nullptr;
    QDateTimeEdit* m_end = nullptr;
    QCheckBox* m_hasDue = nullptr;
    QDateTimeEdit* m_due = nullptr;
    QCheckBox* m_completed = nullptr;
};
