// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/ActionSequencesForm.h"

#include "actions/ActionBaseMessage.h"
#include "actions/ActionExecuteProgram.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionKinds.h"
#include "actions/ActionOpenDocument.h"
#include "editors/ActionDefinitionForms.h"
#include "editors/NameForm.h"
#include "model/ActionSequence.h"
#include "model/IconList.h"
#include "model/ListOwnership.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"
#include "rulesfile/RecordTypes.h"
#include "widgets/IconListModel.h"
#include "widgets/ListBoxDrawItem.h"
#include "widgets/MessageBox.h"
#include "widgets/SymbolIcon.h"

#include "ui_ActionSequencesForm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// The palette's nodes carry their template action at this role; group nodes carry none.
constexpr int TemplateActionRole = Qt::UserRole;

QIcon PaletteIcon(int iconIndex)
{
    return QIcon(QPixmap::fromImage(
        IconList::Instance().Render(iconIndex, QSize(16, 16), QApplication::palette().color(QPalette::Text))));
}

// The file whose own icon stands for the action in the list, where it has one.
QString ActionFilePath(const TBaseAction& action)
{
    if (const auto* program = qobject_cast<const TActionExecuteProgram*>(&action))
        return program->ProgramPath();
    if (const auto* document = qobject_cast<const TActionOpenDocument*>(&action))
        return document->DocPath();
    if (const auto* html = qobject_cast<const TActionHTMLMessage*>(&action))
        return html->HTMLTemplate();
    return {};
}

} // namespace

TActionSequencesForm::TActionSequencesForm(TParameters& parameters, QWidget* parent)
    : QDialog(parent)
    , m_parameters(parameters)
    , ui(std::make_unique<Ui::TActionSequencesForm>())
{
    ui->setupUi(this);
    ui->button_Add->setIcon(SymbolIcon(u"arrow_forward", 32));
    ui->button_Remove->setIcon(SymbolIcon(u"arrow_back", 32));
    ui->button_Up->setIcon(SymbolIcon(u"arrow_upward"));
    ui->button_Down->setIcon(SymbolIcon(u"arrow_downward"));
    ui->button_EditAction->setIcon(SymbolIcon(u"build"));
    ui->button_DeleteAction->setIcon(SymbolIcon(u"close"));
    ui->listBox_UsedBaseActions->setItemDelegate(new TListBoxItemDelegate(ui->listBox_UsedBaseActions));

    connect(ui->comboBox_ActionSequences, &QComboBox::currentIndexChanged, this,
            &TActionSequencesForm::comboBox_ActionSequencesChange);
    connect(ui->comboBox_Icons, &QComboBox::currentIndexChanged, this, &TActionSequencesForm::comboBox_IconsChange);
    connect(ui->listBox_AvailableBaseActions, &QTreeWidget::currentItemChanged, this,
            &TActionSequencesForm::ValidateForm);
    connect(ui->listBox_AvailableBaseActions, &QTreeWidget::itemDoubleClicked, this,
            &TActionSequencesForm::listBox_AvailableBaseActionsDblClick);
    ui->listBox_AvailableBaseActions->installEventFilter(this);
    connect(ui->listBox_UsedBaseActions, &QListWidget::currentRowChanged, this, &TActionSequencesForm::ValidateForm);
    connect(ui->listBox_UsedBaseActions, &QListWidget::itemDoubleClicked, this,
            &TActionSequencesForm::button_EditActionClick);
    connect(ui->button_Add, &QAbstractButton::clicked, this, &TActionSequencesForm::button_AddClick);
    connect(ui->button_Remove, &QAbstractButton::clicked, this, &TActionSequencesForm::button_RemoveClick);
    connect(ui->button_DeleteAction, &QAbstractButton::clicked, this, &TActionSequencesForm::button_RemoveClick);
    connect(ui->button_EditAction, &QAbstractButton::clicked, this, &TActionSequencesForm::button_EditActionClick);
    connect(ui->button_Up, &QAbstractButton::clicked, this, [this] { MoveAction(-1); });
    connect(ui->button_Down, &QAbstractButton::clicked, this, [this] { MoveAction(1); });
    connect(ui->button_New, &QAbstractButton::clicked, this, &TActionSequencesForm::button_NewClick);
    connect(ui->button_Copy, &QAbstractButton::clicked, this, &TActionSequencesForm::button_CopyClick);
    connect(ui->button_Rename, &QAbstractButton::clicked, this, &TActionSequencesForm::button_RenameClick);
    connect(ui->button_Delete, &QAbstractButton::clicked, this, &TActionSequencesForm::button_DeleteClick);
    connect(ui->button_OK, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(ui->button_Cancel, &QAbstractButton::clicked, this, &QDialog::reject);

    FillIcons();
    FillPalette();
    ValidateForm();
}

TActionSequencesForm::~TActionSequencesForm() = default;

bool TActionSequencesForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->listBox_AvailableBaseActions && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            listBox_AvailableBaseActionsDblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TActionSequencesForm::SetLocked(bool locked)
{
    m_locked = locked;
    ValidateForm();
}

void TActionSequencesForm::SetActiveActionSequence(const TActionSequence* sequence)
{
    // The caller's sequence may belong to another model: the copy's one of the same ID is meant.
    m_activeActionSequence = sequence
        ? qobject_cast<TActionSequence*>(m_parameters.ActionSequences().GetObjectByID(sequence->ID()))
        : nullptr;
    // The caller chose a sequence, not an action: its first one is selected.
    m_activeAction = nullptr;
    m_reloadActionSequences = true;
    m_reloadActions = true;
    ValidateForm();
}

TActionSequence* TActionSequencesForm::ActiveActionSequence() const
{
    return m_activeActionSequence;
}

void TActionSequencesForm::FillIcons()
{
    const QSignalBlocker blocker(ui->comboBox_Icons);
    ui->comboBox_Icons->setModel(new TIconListModel(ui->comboBox_Icons));
    ui->comboBox_Icons->view()->setMinimumWidth(200);
    ui->comboBox_Icons->setCurrentIndex(-1);
}

void TActionSequencesForm::FillPalette()
{
    std::vector<const TActionKind*> offered;
    for (const TActionKind& kind : ActionKinds()) {
        if (kind.PalettePlace > 0)
            offered.push_back(&kind);
    }
    std::sort(offered.begin(), offered.end(),
              [](const TActionKind* a, const TActionKind* b) { return a->PalettePlace < b->PalettePlace; });
    QTreeWidget* tree = ui->listBox_AvailableBaseActions;
    const QSignalBlocker blocker(tree);
    tree->clear();
    m_templateActions.clear();
    // A group's node stands where its first kind does.
    QHash<QString, QTreeWidgetItem*> groups;
    for (const TActionKind* kind : offered) {
        QTreeWidgetItem* parent = nullptr;
        if (!kind->PaletteGroup.isEmpty()) {
            parent = groups.value(kind->PaletteGroup);
            if (!parent) {
                parent = new QTreeWidgetItem(tree);
                parent->setText(0, kind->PaletteGroup);
                for (const TActionPaletteGroup& group : ActionPaletteGroups()) {
                    if (group.Name == kind->PaletteGroup)
                        parent->setIcon(0, PaletteIcon(IconList::Instance().IndexOf(group.IconName)));
                }
                groups.insert(kind->PaletteGroup, parent);
            }
        }
        std::unique_ptr<TBaseAction> action = kind->Make();
        QTreeWidgetItem* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, action->Caption());
        item->setIcon(0, PaletteIcon(action->IconIndex()));
        item->setData(0, TemplateActionRole, QVariant::fromValue(static_cast<QObject*>(action.get())));
        m_templateActions.push_back(std::move(action));
    }
    tree->expandAll();
}

TBaseAction* TActionSequencesForm::SelectedTemplateAction() const
{
    const QTreeWidgetItem* item = ui->listBox_AvailableBaseActions->currentItem();
    return item ? qobject_cast<TBaseAction*>(item->data(0, TemplateActionRole).value<QObject*>()) : nullptr;
}

void TActionSequencesForm::ValidateForm()
{
    if (m_reloadActionSequences)
        ReloadSequenceList();
    m_reloadActionSequences = false;

    const int sequenceIndex = ui->comboBox_ActionSequences->currentIndex();
    m_activeActionSequence = m_parameters.ActionSequences().Item<TActionSequence>(sequenceIndex);
    if (m_activeActionSequence) {
        const QSignalBlocker blocker(ui->comboBox_Icons);
        ui->comboBox_Icons->setCurrentIndex(m_activeActionSequence->IconIndex());
        Trace::ObjectOnce("ActionSequences::ValidateForm:Selected action sequence", m_activeActionSequence,
                          m_activeActionSequence->Name());
    }

    if (m_activeActionSequence && m_reloadActions) {
        ReloadActionList();
    } else if (!m_activeActionSequence) {
        const QSignalBlocker blocker(ui->listBox_UsedBaseActions);
        ui->listBox_UsedBaseActions->clear();
    }
    m_reloadActions = false;

    const int actionIndex = ui->listBox_UsedBaseActions->currentRow();
    m_activeAction = m_activeActionSequence ? m_activeActionSequence->Action(actionIndex) : nullptr;
    if (m_activeAction)
        Trace::ObjectOnce("ActionSequences::ValidateForm:Selected action", m_activeAction, m_activeAction->Caption());

    FillUsedInRules();
    EnableCommands();
}

void TActionSequencesForm::ReloadSequenceList()
{
    QComboBox* combo = ui->comboBox_ActionSequences;
    const QSignalBlocker blocker(combo);
    combo->clear();
    const TBaseList& sequences = m_parameters.ActionSequences();
    for (const TBaseObject* item : sequences.MainList()) {
        const auto* sequence = qobject_cast<const TActionSequence*>(item);
        combo->addItem(sequence ? sequence->Name() : QString());
    }
    combo->setCurrentIndex(m_activeActionSequence ? sequences.GetIndex(m_activeActionSequence)
                                                  : (combo->count() > 0 ? 0 : -1));
}

void TActionSequencesForm::ReloadActionList()
{
    QListWidget* list = ui->listBox_UsedBaseActions;
    const QSignalBlocker blocker(list);
    list->clear();
    int selected = -1;
    for (int i = 0; i < m_activeActionSequence->Count(); ++i) {
        const TBaseAction* action = m_activeActionSequence->Action(i);
        auto* entry = new QListWidgetItem(action ? action->GetDescription() : QString(), list);
        if (!action)
            continue;
        entry->setData(ListBoxRole::IconIndex, action->IconIndex());
        entry->setData(ListBoxRole::FilePath, ActionFilePath(*action));
        entry->setToolTip(entry->text());
        if (m_activeAction && selected < 0 && action->ID() == m_activeAction->ID())
            selected = i;
    }
    if (!m_activeAction && list->count() > 0)
        selected = 0;
    list->setCurrentRow(selected);
}

void TActionSequencesForm::FillUsedInRules()
{
    QComboBox* combo = ui->comboBox_UsedInRules;
    combo->clear();
    if (!m_activeActionSequence)
        return;
    for (const TBaseObject* item : m_parameters.Rules().MainList()) {
        const auto* rule = qobject_cast<const TRule*>(item);
        if (!rule)
            continue;
        for (const TBaseObject* linked : rule->MainList()) {
            if (linked == m_activeActionSequence)
                combo->addItem(rule->Name());
        }
    }
    if (combo->count() > 0)
        combo->setCurrentIndex(0);
}

void TActionSequencesForm::EnableCommands()
{
    const bool sequence = m_activeActionSequence != nullptr;
    const bool action = sequence && m_activeAction;
    const int row = ui->listBox_UsedBaseActions->currentRow();
    ui->comboBox_ActionSequences->setEnabled(ui->comboBox_ActionSequences->count() > 0 && !m_locked);
    ui->comboBox_Icons->setEnabled(sequence);
    ui->button_Rename->setEnabled(sequence);
    ui->button_New->setEnabled(!m_locked);
    ui->button_Copy->setEnabled(sequence && !m_locked);
    ui->button_Delete->setEnabled(sequence && !m_locked);
    ui->button_Add->setEnabled(sequence && SelectedTemplateAction());
    ui->button_Remove->setEnabled(action);
    ui->button_EditAction->setEnabled(action);
    ui->button_DeleteAction->setEnabled(action);
    ui->button_Up->setEnabled(action && row > 0);
    ui->button_Down->setEnabled(action && row < ui->listBox_UsedBaseActions->count() - 1);
}

void TActionSequencesForm::comboBox_ActionSequencesChange()
{
    m_reloadActions = true;
    ValidateForm();
}

void TActionSequencesForm::comboBox_IconsChange()
{
    if (m_activeActionSequence && ui->comboBox_Icons->currentIndex() >= 0)
        m_activeActionSequence->SetIconIndex(ui->comboBox_Icons->currentIndex());
    ValidateForm();
}

void TActionSequencesForm::button_AddClick()
{
    if (TBaseAction* templateAction = SelectedTemplateAction(); templateAction && m_activeActionSequence)
        PrepareAndShowForm(true, templateAction);
    ValidateForm();
}

void TActionSequencesForm::listBox_AvailableBaseActionsDblClick()
{
    if (SelectedTemplateAction() && m_activeActionSequence)
        button_AddClick();
}

void TActionSequencesForm::button_EditActionClick()
{
    if (m_activeAction)
        PrepareAndShowForm(false, m_activeAction);
}

void TActionSequencesForm::PrepareAndShowForm(bool insert, TBaseAction* baseAction)
{
    // The dialog edits a new action or a copy of the chosen one; cancelling drops it.
    std::unique_ptr<TBaseAction> edited;
    if (insert) {
        if (const TActionKind* kind = FindActionKind(*baseAction))
            edited = kind->Make();
        if (edited)
            edited->SetOrvixLine(m_parameters.OrvixLine());
    } else {
        edited = m_parameters.CopyAction(*baseAction);
    }
    if (!edited)
        return;
    TBaseAction* action = edited.get();
    if (ShowActionDefinitionForm(*action, {&m_parameters, m_activeActionSequence}, this) == QDialog::Accepted) {
        if (insert) {
            Trace::Value("ActionSequences::AddOrEditAction:Creating new action:", action->Caption());
            // The first action gives an empty sequence its look.
            if (ui->listBox_UsedBaseActions->count() == 0)
                m_activeActionSequence->SetIconIndex(action->IconIndex());
            m_activeActionSequence->AddNewItem(edited.release());
        } else {
            ReplaceItem(*m_activeActionSequence, baseAction, std::move(edited));
        }
        m_activeAction = action;
        m_reloadActions = true;
    }
    ValidateForm();
}

void TActionSequencesForm::button_RemoveClick()
{
    if (!m_activeActionSequence || !m_activeAction)
        return;
    if (TMessageBox::Question(this, windowTitle(), QStringLiteral("Möchten Sie diese Aktion wirklich löschen?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    Trace::Value("ActionSequences::RemoveAction:Deleting action:", m_activeAction->Caption());
    TBaseAction* removed = m_activeAction;
    m_activeAction = nullptr;
    m_activeActionSequence->RemoveItem(removed);
    if (m_activeActionSequence->FreeObjects())
        delete removed;
    m_reloadActions = true;
    ValidateForm();
}

void TActionSequencesForm::MoveAction(int offset)
{
    QListWidget* list = ui->listBox_UsedBaseActions;
    const int from = list->currentRow();
    const int to = from + offset;
    if (!m_activeActionSequence || !m_activeAction || to < 0 || to >= list->count())
        return;
    m_activeActionSequence->SwapItems(m_activeActionSequence->GetObject(from), m_activeActionSequence->GetObject(to));
    {
        const QSignalBlocker blocker(list);
        QListWidgetItem* moved = list->takeItem(from);
        list->insertItem(to, moved);
        list->setCurrentRow(to);
    }
    ValidateForm();
}

void TActionSequencesForm::AddSequence(std::unique_ptr<TActionSequence> sequence)
{
    m_activeActionSequence = sequence.get();
    m_parameters.ActionSequences().AddNewItem(sequence.release());
    m_activeAction = nullptr;
    m_reloadActionSequences = true;
    m_reloadActions = true;
    ValidateForm();
}

void TActionSequencesForm::button_NewClick()
{
    if (m_locked)
        return;
    TActionSequencesNameForm nameForm(QString(), this);
    if (nameForm.exec() != QDialog::Accepted)
        return;
    auto sequence = std::make_unique<TActionSequence>();
    sequence->SetOrvixLine(m_parameters.OrvixLine());
    sequence->SetName(nameForm.Name());
    Trace::Value("ActionSequences::NewActionSequence:Creating new action sequence:", sequence->Name());
    AddSequence(std::move(sequence));
}

void TActionSequencesForm::button_CopyClick()
{
    if (m_locked || !m_activeActionSequence)
        return;
    Trace::Value("ActionSequences::CopyActionSequence:Cloning action sequence:", m_activeActionSequence->Name());
    AddSequence(m_parameters.CopyActionSequence(*m_activeActionSequence));
}

void TActionSequencesForm::button_RenameClick()
{
    if (!m_activeActionSequence)
        return;
    TActionSequencesNameForm nameForm(m_activeActionSequence->Name(), this);
    if (nameForm.exec() != QDialog::Accepted)
        return;
    Trace::Value("ActionSequences::RenameActionSequence:Renaming action sequence:", m_activeActionSequence->Name());
    m_activeActionSequence->SetName(nameForm.Name());
    ui->comboBox_ActionSequences->setItemText(ui->comboBox_ActionSequences->currentIndex(), nameForm.Name());
    ValidateForm();
}

void TActionSequencesForm::button_DeleteClick()
{
    if (m_locked || !m_activeActionSequence)
        return;
    const QComboBox* rules = ui->comboBox_UsedInRules;
    if (rules->count() > 0) {
        QString text = QStringLiteral("Diese Aktionsfolge wird in folgenden Regeln verwendet:") + CRLF;
        for (int i = 0; i < rules->count(); ++i)
            text += CRLF + rules->itemText(i);
        text += CRLF + CRLF + QStringLiteral("Die Aktionsfolge kann daher nicht gelöscht werden.");
        TMessageBox::Question(this, windowTitle(), text, QMessageBox::Ok);
        return;
    }

    const QString name = m_activeActionSequence->Name();
    QString question = QStringLiteral("Möchten Sie die Aktionsfolge \"%1\" wirklich löschen?").arg(name);
    // Buttons of messages in other sequences would vanish without a word: say which.
    const QList<TActionBaseMessage*> messages = m_parameters.MessagesOfferingActionSequence(*m_activeActionSequence);
    if (!messages.isEmpty()) {
        QString listed;
        for (const TBaseObject* item : m_parameters.ActionSequences().MainList()) {
            const auto* sequence = qobject_cast<const TActionSequence*>(item);
            for (int i = 0; sequence && i < sequence->Count(); ++i) {
                if (messages.contains(sequence->Action(i)))
                    listed +=
                        CRLF + QStringLiteral("%1: %2").arg(sequence->Name(), sequence->Action(i)->GetDescription());
            }
        }
        question = QStringLiteral("Die Aktionsfolge \"%1\" wird als Schaltfläche in folgenden Nachrichten angeboten:")
                       .arg(name) +
            CRLF + listed + CRLF + CRLF +
            QStringLiteral("Beim Löschen verschwinden diese Schaltflächen aus den Nachrichten.") + CRLF + CRLF +
            question;
    }
    if (TMessageBox::Question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    Trace::Value("ActionSequences::DeleteActionSequence:Deleting action sequence:", name);
    TActionSequence* deleted = m_activeActionSequence;
    m_activeActionSequence = nullptr;
    m_activeAction = nullptr;
    m_parameters.DeleteActionSequence(deleted);
    m_reloadActionSequences = true;
    m_reloadActions = true;
    ValidateForm();
}
