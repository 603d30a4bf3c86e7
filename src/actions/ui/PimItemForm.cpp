// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/PimItemForm.h"

#include "widgets/CenteredWindow.h"
#include "widgets/MessageBox.h"

#include "ui_PimAppointmentForm.h"
#include "ui_PimJournalForm.h"
#include "ui_PimNoteForm.h"
#include "ui_PimTaskForm.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

TPimItemForm::TPimItemForm(const TPimItem& item, QWidget* parent)
    : QDialog(parent)
    , m_item(item)
{
    SetupLayout(item.Kind);
    // Shown while the program's other windows may be hidden, as the question window is.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    if (!item.Contact.isEmpty())
        setWindowTitle(windowTitle() + QStringLiteral(" – ") + item.Contact);
    m_subject = findChild<QLineEdit*>(QStringLiteral("edit_Subject"));
    m_body = findChild<QPlainTextEdit*>(QStringLiteral("memo_Body"));
    m_start = findChild<QDateTimeEdit*>(QStringLiteral("dateTime_Start"));
    m_end = findChild<QDateTimeEdit*>(QStringLiteral("dateTime_End"));
    m_hasDue = findChild<QCheckBox*>(QStringLiteral("check_Due"));
    m_due = findChild<QDateTimeEdit*>(QStringLiteral("dateTime_Due"));
    m_completed = findChild<QCheckBox*>(QStringLiteral("check_Completed"));
    connect(findChild<QPushButton*>(QStringLiteral("button_Save")), &QPushButton::clicked, this,
            &TPimItemForm::SaveClicked);
    connect(findChild<QPushButton*>(QStringLiteral("button_Cancel")), &QPushButton::clicked, this, &QDialog::reject);
    if (m_hasDue)
        connect(m_hasDue, &QCheckBox::toggled, m_due, &QWidget::setEnabled);
    ShowItem();
}

// The layouts share their widget names; the widgets belong to the dialog, so the
// generated classes are needed only while they build them.
void TPimItemForm::SetupLayout(TPimItemKind kind)
{
    switch (kind) {
    case TPimItemKind::Note:
        Ui::TPimNoteForm().setupUi(this);
        break;
    case TPimItemKind::Journal:
        Ui::TPimJournalForm().setupUi(this);
        break;
    case TPimItemKind::Appointment:
        Ui::TPimAppointmentForm().setupUi(this);
        break;
    case TPimItemKind::Task:
        Ui::TPimTaskForm().setupUi(this);
        break;
    }
}

void TPimItemForm::ShowItem()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_subject->setText(m_item.Subject);
    m_body->setPlainText(m_item.Body);
    if (m_start)
        m_start->setDateTime(m_item.Start.isValid() ? m_item.Start.toLocalTime() : now);
    if (m_end)
        m_end->setDateTime(m_item.End.isValid() ? m_item.End.toLocalTime() : m_start->dateTime());
    if (m_hasDue) {
        m_hasDue->setChecked(m_item.Due.isValid());
        m_due->setDateTime(m_item.Due.isValid() ? m_item.Due.toLocalTime() : now.addDays(1));
        m_due->setEnabled(m_item.Due.isValid());
    }
    if (m_completed)
        m_completed->setChecked(m_item.Completed);
    m_subject->setFocus();
}

TPimItem TPimItemForm::Item() const
{
    TPimItem item = m_item;
    item.Subject = m_subject->text();
    item.Body = m_body->toPlainText();
    if (m_start)
        item.Start = m_start->dateTime();
    if (m_end)
        item.End = std::max(m_end->dateTime(), item.Start);
    if (m_hasDue)
        item.Due = m_hasDue->isChecked() ? m_due->dateTime() : QDateTime();
    if (m_completed)
        item.Completed = m_completed->isChecked();
    return item;
}

void TPimItemForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CenterOnScreen(*this);
}

void TPimItemForm::SaveClicked()
{
    if (m_save) {
        const QString failure = m_save(Item());
        if (!failure.isEmpty()) {
            TMessageBox::Warning(this, windowTitle(), failure);
            return;
        }
    }
    m_saved = true;
    accept();
}

TUserInterface::TPimItemOutcome TPimItemForm::Outcome() const
{
    if (m_saved)
        return TUserInterface::TPimItemOutcome::Saved;
    if (m_discarded)
        return TUserInterface::TPimItemOutcome::Discarded;
    return TUserInterface::TPimItemOutcome::Interrupted;
}

// "Abbrechen", Escape and the window's close button all come here.
void TPimItemForm::reject()
{
    m_discarded = true;
    QDialog::reject();
}

void TPimItemForm::Interrupt()
{
    done(QDialog::Rejected);
}
