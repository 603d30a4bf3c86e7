// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ParametersFrame.h"

#include "actions/ActionBalloonMessage.h"
#include "model/BaseAction.h"
#include "model/BaseParameter.h"
#include "model/ListOwnership.h"
#include "parameters/ParameterKinds.h"
#include "rulesfile/Parameters.h"
#include "trace/Trace.h"
#include "widgets/ListBoxDrawItem.h"
#include "widgets/MessageBox.h"
#include "widgets/SymbolIcon.h"

#include "ui_ParametersFrame.h"

#include <QDialog>
#include <QSignalBlocker>

#include <utility>

namespace {

// The entries of both lists carry their parameter at this role.
constexpr int ParameterRole = Qt::UserRole;

TBaseParameter* ParameterOf(const QListWidgetItem* item)
{
    return item ? qobject_cast<TBaseParameter*>(item->data(ParameterRole).value<QObject*>()) : nullptr;
}

QListWidgetItem* NewEntry(QListWidget* list, TBaseParameter* parameter, const QString& text)
{
    auto* entry = new QListWidgetItem(text, list);
    entry->setData(ParameterRole, QVariant::fromValue(static_cast<QObject*>(parameter)));
    entry->setData(ListBoxRole::IconIndex, parameter->IconIndex());
    entry->setToolTip(text);
    return entry;
}

} // namespace

TParametersFrame::TParametersFrame(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TParametersFrame>())
{
    ui->setupUi(this);
    ui->Button_Add->setIcon(SymbolIcon(u"arrow_forward", 32));
    ui->Button_Remove->setIcon(SymbolIcon(u"arrow_back", 32));
    ui->Button_Up->setIcon(SymbolIcon(u"arrow_upward"));
    ui->Button_Down->setIcon(SymbolIcon(u"arrow_downward"));
    ui->Button_Edit->setIcon(SymbolIcon(u"build"));
    ui->Button_Delete->setIcon(SymbolIcon(u"close"));
    ui->ListBox_AvailableParameters->setItemDelegate(new TListBoxItemDelegate(ui->ListBox_AvailableParameters));
    ui->ListBox_UsedParameters->setItemDelegate(new TListBoxItemDelegate(ui->ListBox_UsedParameters));

    connect(ui->ListBox_AvailableParameters, &QListWidget::currentRowChanged, this, &TParametersFrame::ValidateForm);
    connect(ui->ListBox_AvailableParameters, &QListWidget::itemDoubleClicked, this, &TParametersFrame::Button_AddClick);
    connect(ui->ListBox_UsedParameters, &QListWidget::currentRowChanged, this, &TParametersFrame::ValidateForm);
    connect(ui->ListBox_UsedParameters, &QListWidget::itemDoubleClicked, this, &TParametersFrame::Button_EditClick);
    connect(ui->Button_Add, &QAbstractButton::clicked, this, &TParametersFrame::Button_AddClick);
    connect(ui->Button_Remove, &QAbstractButton::clicked, this, &TParametersFrame::Button_RemoveClick);
    connect(ui->Button_Delete, &QAbstractButton::clicked, this, &TParametersFrame::Button_RemoveClick);
    connect(ui->Button_Edit, &QAbstractButton::clicked, this, &TParametersFrame::Button_EditClick);
    connect(ui->Button_Up, &QAbstractButton::clicked, this, [this] { Move(-1); });
    connect(ui->Button_Down, &QAbstractButton::clicked, this, [this] { Move(1); });
    ValidateForm();
}

TParametersFrame::~TParametersFrame() = default;

void TParametersFrame::SetActiveAction(TBaseAction* action, TParameters* model)
{
    m_activeAction = action;
    m_model = model;
    m_activeParameter = nullptr;
    FillParameters();
}

void TParametersFrame::FillParameters()
{
    QListWidget* available = ui->ListBox_AvailableParameters;
    const QSignalBlocker blocker(available);
    available->clear();
    m_prototypes.clear();
    for (const TParameterKind& kind : ParameterKinds()) {
        std::unique_ptr<TBaseParameter> prototype = kind.Make();
        if (m_activeAction)
            prototype->SetOrvixLine(m_activeAction->OrvixLine());
        NewEntry(available, prototype.get(), prototype->Caption());
        m_prototypes.push_back(std::move(prototype));
    }
    available->setCurrentRow(0);
    m_reloadParameters = true;
    ValidateForm();
}

void TParametersFrame::ReloadParameters()
{
    // Compared by address only: a deleted parameter must not be read.
    if (m_activeParameter && (!m_activeAction || m_activeAction->GetIndex(m_activeParameter) < 0))
        m_activeParameter = nullptr;
    m_reloadParameters = true;
    ValidateForm();
    emit ParametersChanged();
}

void TParametersFrame::ClearSubActionList()
{
    ui->ListBox_UsedParameters->clear();
}

void TParametersFrame::ValidateForm()
{
    QListWidget* used = ui->ListBox_UsedParameters;
    if (m_reloadParameters) {
        const QSignalBlocker blocker(used);
        const QString activeID = m_activeParameter ? m_activeParameter->ID() : QString();
        ClearSubActionList();
        for (int i = 0; m_activeAction && i < m_activeAction->Count(); ++i) {
            if (TBaseParameter* parameter = m_activeAction->Parameter(i)) {
                QListWidgetItem* entry = NewEntry(used, parameter, parameter->GetDescription());
                if (parameter->ID() == activeID)
                    used->setCurrentItem(entry);
            }
        }
        if (!used->currentItem() && used->count() > 0)
            used->setCurrentRow(0);
    }
    m_reloadParameters = false;
    m_activeParameter = ParameterOf(used->currentItem());
    Trace::Value("Parameters::ValidateForm:Selected parameter",
                 m_activeParameter ? m_activeParameter->Caption() : QString());

    const int row = used->currentRow();
    const bool selected = m_activeParameter != nullptr;
    ui->Button_Add->setEnabled(m_activeAction && SelectedPrototype());
    ui->Button_Remove->setEnabled(selected);
    ui->Button_Delete->setEnabled(selected);
    ui->Button_Edit->setEnabled(selected);
    ui->Button_Up->setEnabled(selected && row > 0);
    ui->Button_Down->setEnabled(selected && row < used->count() - 1);
}

TBaseParameter* TParametersFrame::SelectedPrototype() const
{
    return ParameterOf(ui->ListBox_AvailableParameters->currentItem());
}

TParameterFormContext TParametersFrame::FormContext() const
{
    return {qobject_cast<const TActionBalloonMessage*>(m_activeAction) != nullptr,
            m_model ? m_model->Velquist() : nullptr};
}

void TParametersFrame::PrepareAndShowForm(bool create, TBaseParameter* parameter)
{
    if (!m_activeAction || !m_model || !parameter)
        return;
    // The dialog edits a new parameter or a copy; cancelling drops it.
    std::unique_ptr<TBaseParameter> edited;
    if (create) {
        if (const TParameterKind* kind = FindParameterKind(*parameter))
            edited = kind->Make();
    } else {
        edited = m_model->CopyParameter(*parameter);
    }
    if (!edited)
        return;
    edited->SetOrvixLine(parameter->OrvixLine());
    TBaseParameter* shown = edited.get();
    if (ShowParameterForm(*shown, FormContext(), window()) == QDialog::Accepted) {
        if (create) {
            Trace::Value("Parameters::AddOrEditParameters:Creating new parameter:", shown->Caption());
            m_activeAction->AddNewItem(edited.release());
        } else {
            ReplaceItem(*m_activeAction, parameter, std::move(edited));
        }
        m_activeParameter = shown;
        emit ParametersChanged();
    }
    m_reloadParameters = true;
    ValidateForm();
}

void TParametersFrame::Button_AddClick()
{
    if (TBaseParameter* prototype = SelectedPrototype())
        PrepareAndShowForm(true, prototype);
}

void TParametersFrame::Button_EditClick()
{
    if (m_activeParameter)
        PrepareAndShowForm(false, m_activeParameter);
}

void TParametersFrame::Button_RemoveClick()
{
    if (!m_activeAction || !m_activeParameter)
        return;
    if (TMessageBox::Question(window(), window()->windowTitle(),
                              QStringLiteral("Möchten Sie diesen Parameter wirklich löschen?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    Trace::Value("ActionSequences::RemoveParameter:Deleting parameter:", m_activeParameter->Caption());
    // Freed here: the action no longer holds it, and the panel's list is rebuilt below.
    TakeItem(*m_activeAction, std::exchange(m_activeParameter, nullptr));
    m_reloadParameters = true;
    ValidateForm();
    emit ParametersChanged();
}

void TParametersFrame::Move(int offset)
{
    if (!m_activeAction || !m_activeParameter)
        return;
    const int neighbour = m_activeAction->GetIndex(m_activeParameter) + offset;
    if (TBaseObject* other = m_activeAction->GetObject(neighbour)) {
        m_activeAction->SwapItems(m_activeParameter, other);
        m_reloadParameters = true;
        ValidateForm();
        emit ParametersChanged();
    }
}
