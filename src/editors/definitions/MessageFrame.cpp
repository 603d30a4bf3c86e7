// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/MessageFrame.h"

#include "actions/ActionBaseMessage.h"
#include "model/ActionSequence.h"
#include "rulesfile/Parameters.h"
#include "widgets/ListBoxDrawItem.h"

#include "ui_MessageFrame.h"

namespace {

constexpr int SequenceIdRole = Qt::UserRole + 1;

} // namespace

TMessageFrame::TMessageFrame(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TMessageFrame>())
{
    ui->setupUi(this);
    ui->edit_Caption->setMaxLength(250);
    for (QListWidget* list : {ui->listBox_Available, ui->listBox_Used})
        list->setItemDelegate(new TListBoxItemDelegate(list));
    connect(ui->edit_Caption, &QLineEdit::textChanged, this, &TMessageFrame::ValidateForm);
    connect(ui->checkBox_TimeOut, &QCheckBox::toggled, this, &TMessageFrame::ValidateForm);
    connect(ui->listBox_Available, &QListWidget::currentRowChanged, this, &TMessageFrame::ValidateForm);
    connect(ui->listBox_Used, &QListWidget::currentRowChanged, this, &TMessageFrame::ValidateForm);
    connect(ui->listBox_Available, &QListWidget::itemDoubleClicked, this, &TMessageFrame::AddSelected);
    connect(ui->listBox_Used, &QListWidget::itemDoubleClicked, this, &TMessageFrame::RemoveSelected);
    connect(ui->button_Add, &QAbstractButton::clicked, this, &TMessageFrame::AddSelected);
    connect(ui->button_Remove, &QAbstractButton::clicked, this, &TMessageFrame::RemoveSelected);
    connect(ui->button_Up, &QAbstractButton::clicked, this, [this] { Move(-1); });
    connect(ui->button_Down, &QAbstractButton::clicked, this, [this] { Move(1); });
}

TMessageFrame::~TMessageFrame() = default;

QWidget* TMessageFrame::CaptionField() const
{
    return ui->edit_Caption;
}

void TMessageFrame::AddEntry(QListWidget* list, const TActionSequence& sequence)
{
    auto* entry = new QListWidgetItem(sequence.Name(), list);
    entry->setData(ListBoxRole::IconIndex, sequence.IconIndex());
    entry->setData(SequenceIdRole, sequence.ID());
}

void TMessageFrame::Show(const TActionBaseMessage& message, const TParameters& model,
                         const TActionSequence* activeSequence)
{
    const TBaseList& sequences = model.ActionSequences();
    for (int i = 0; i < sequences.Count(); ++i) {
        const auto* sequence = sequences.Item<TActionSequence>(i);
        if (sequence && (!activeSequence || sequence->ID() != activeSequence->ID()))
            AddEntry(ui->listBox_Available, *sequence);
    }
    // A button whose sequence is gone is dropped here, as it is when the message runs.
    for (const QString& id : message.AssociatedActionSequences()) {
        if (const auto* sequence = qobject_cast<const TActionSequence*>(sequences.GetObjectByID(id)))
            AddEntry(ui->listBox_Used, *sequence);
    }
    ui->edit_Caption->setText(message.Caption());
    ui->checkBox_TimeOut->setChecked(message.TimeOut());
    ui->spinBox_TimeOutSec->setValue(message.TimeOutSec());
    ui->listBox_Available->setCurrentRow(0);
    ui->listBox_Used->setCurrentRow(0);
    ui->edit_Caption->setFocus();
    ValidateForm();
}

void TMessageFrame::ValidateForm()
{
    const int used = ui->listBox_Used->currentRow();
    ui->button_Add->setEnabled(ui->listBox_Available->currentRow() >= 0);
    ui->button_Remove->setEnabled(used >= 0);
    ui->button_Up->setEnabled(used > 0);
    ui->button_Down->setEnabled(used >= 0 && used < ui->listBox_Used->count() - 1);
    ui->spinBox_TimeOutSec->setEnabled(ui->checkBox_TimeOut->isChecked());
    emit Changed();
}

bool TMessageFrame::IsComplete() const
{
    return !ui->edit_Caption->text().trimmed().isEmpty();
}

void TMessageFrame::AddSelected()
{
    const QListWidgetItem* chosen = ui->listBox_Available->currentItem();
    if (!chosen)
        return;
    auto* entry = new QListWidgetItem(*chosen);
    ui->listBox_Used->addItem(entry);
    ui->listBox_Used->setCurrentItem(entry);
    ValidateForm();
}

void TMessageFrame::RemoveSelected()
{
    delete ui->listBox_Used->takeItem(ui->listBox_Used->currentRow());
    ValidateForm();
}

void TMessageFrame::Move(int offset)
{
    QListWidget* list = ui->listBox_Used;
    const int from = list->currentRow();
    const int to = from + offset;
    if (from < 0 || to < 0 || to >= list->count())
        return;
    list->insertItem(to, list->takeItem(from));
    list->setCurrentRow(to);
    ValidateForm();
}

void TMessageFrame::Write(TActionBaseMessage& message) const
{
    message.SetCaption(ui->edit_Caption->text());
    message.SetTimeOutSec(ui->spinBox_TimeOutSec->value());
    message.SetTimeOut(ui->checkBox_TimeOut->isChecked());
    QStringList ids;
    for (int i = 0; i < ui->listBox_Used->count(); ++i)
        ids << ui->listBox_Used->item(i)->data(SequenceIdRole).toString();
    message.SetAssociatedActionSequences(ids);
}
