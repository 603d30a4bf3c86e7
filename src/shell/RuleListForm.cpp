// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/RuleListForm.h"

#include "editors/ActionSequencesForm.h"
#include "editors/NameForm.h"
#include "editors/RuleAssistentForm.h"
#include "editors/RuleTestForm.h"
#include "model/Guid.h"
#include "model/Rule.h"
#include "platform/DataPaths.h"
#include "program/Program.h"
#include "rulesfile/Parameters.h"
#include "shell/RuleDescription.h"
#include "trace/Trace.h"
#include "widgets/MessageBox.h"
#include "widgets/SymbolIcon.h"

#include "ui_RuleListForm.h"

#include <QSignalBlocker>

namespace {

constexpr int RuleIDRole = Qt::UserRole;
constexpr int EntryHeight = 18;

} // namespace

TRuleListForm::TRuleListForm(TProgram& program, QWidget* parent)
    : QWidget(parent)
    , m_program(program)
    , ui(std::make_unique<Ui::TRuleListForm>())
{
    ui->setupUi(this);
    ui->button_Up->setIcon(SymbolIcon(u"arrow_upward"));
    ui->button_Down->setIcon(SymbolIcon(u"arrow_downward"));
    connect(ui->checkListBox_Rules, &QListWidget::itemSelectionChanged, this, &TRuleListForm::ValidateForm);
    connect(ui->checkListBox_Rules, &QListWidget::itemChanged, this, &TRuleListForm::checkListBox_RulesClickCheck);
    connect(ui->checkListBox_Rules, &QListWidget::itemDoubleClicked, this, &TRuleListForm::button_EditClick);
    connect(ui->button_New, &QPushButton::clicked, this, &TRuleListForm::button_NewClick);
    connect(ui->button_Edit, &QPushButton::clicked, this, &TRuleListForm::button_EditClick);
    connect(ui->button_Copy, &QPushButton::clicked, this, &TRuleListForm::button_CopyClick);
    connect(ui->button_Rename, &QPushButton::clicked, this, &TRuleListForm::button_RenameClick);
    connect(ui->button_Delete, &QPushButton::clicked, this, &TRuleListForm::button_DeleteClick);
    connect(ui->button_Up, &QToolButton::clicked, this, &TRuleListForm::button_UpClick);
    connect(ui->button_Down, &QToolButton::clicked, this, &TRuleListForm::button_DownClick);
    connect(ui->button_Test, &QPushButton::clicked, this, &TRuleListForm::button_TestClick);
    connect(ui->button_ActionsSequences, &QPushButton::clicked, this, &TRuleListForm::button_ActionsSequencesClick);
    connect(ui->button_Import, &QPushButton::clicked, this, &TRuleListForm::ImportExportClick);
    connect(ui->button_Export, &QPushButton::clicked, this, &TRuleListForm::ImportExportClick);
    connect(ui->button_Hide, &QPushButton::clicked, this, &TRuleListForm::HideRequested);
    ValidateForm();
}

TRuleListForm::~TRuleListForm() = default;

TParameters& TRuleListForm::Model() const
{
    return *m_program.Model();
}

TRule* TRuleListForm::ActiveRule() const
{
    const std::shared_ptr<TParameters>& model = m_program.Model();
    return model && !m_activeRuleID.isEmpty() ? qobject_cast<TRule*>(model->Rules().GetObjectByID(m_activeRuleID))
                                              : nullptr;
}

void TRuleListForm::ReloadRuleList()
{
    m_reloadRules = true;
    ValidateForm();
}

void TRuleListForm::ValidateForm()
{
    QListWidget& list = *ui->checkListBox_Rules;
    const std::shared_ptr<TParameters>& model = m_program.Model();
    // Filling the list and setting its check marks is not the user's doing.
    const QSignalBlocker blocker(list);
    if (m_reloadRules) {
        list.clear();
        if (model) {
            for (TBaseObject* object : model->Rules().MainList()) {
                auto* rule = qobject_cast<TRule*>(object);
                auto* entry = new QListWidgetItem(rule->Name(), &list);
                entry->setData(RuleIDRole, rule->ID());
                entry->setSizeHint(QSize(0, EntryHeight));
                entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
            }
        }
        // The rule selected before, found by its ID; without one the first rule.
        int selected = m_activeRuleID.isEmpty() && list.count() > 0 ? 0 : -1;
        for (int i = 0; i < list.count() && selected < 0; ++i) {
            if (list.item(i)->data(RuleIDRole).toString() == m_activeRuleID)
                selected = i;
        }
        list.setCurrentRow(selected);
    }
    m_reloadRules = false;

    const QList<QListWidgetItem*> selection = list.selectedItems();
    m_activeRuleID = selection.isEmpty() ? QString() : selection.front()->data(RuleIDRole).toString();
    TRule* rule = ActiveRule();
    if (rule) {
        selection.front()->setText(rule->Name());
        Trace::ObjectOnce("Main::ValidateForm:Selected rule", rule, rule->Name());
    }
    for (int i = 0; i < list.count() && model; ++i) {
        if (const auto* listed = model->Rules().Item<TRule>(i))
            list.item(i)->setCheckState(listed->Active() ? Qt::Checked : Qt::Unchecked);
    }

    const int row = rule ? list.row(selection.front()) : -1;
    for (QWidget* button : {static_cast<QWidget*>(ui->button_Edit), static_cast<QWidget*>(ui->button_Copy),
                            static_cast<QWidget*>(ui->button_Delete), static_cast<QWidget*>(ui->button_Rename),
                            static_cast<QWidget*>(ui->button_Test)})
        button->setEnabled(rule != nullptr);
    ui->button_Export->setEnabled(list.count() > 0);
    ui->button_Up->setEnabled(rule && row > 0);
    ui->button_Down->setEnabled(rule && row < list.count() - 1);

    const QString description = rule ? RuleDescription(*rule) : QString();
    ui->RulesDescriptionBox->setPlainText(description);
    ui->RulesDescriptionBox->moveCursor(QTextCursor::Start);
    Trace::Value("Main::ValidateForm:Rule description", description);
}

// A check mark changes the model in force at once, and the file with it, so
// that it survives a crash or the end of the session.
void TRuleListForm::checkListBox_RulesClickCheck(QListWidgetItem* item)
{
    const std::shared_ptr<TParameters>& model = m_program.Model();
    auto* rule =
        model ? qobject_cast<TRule*>(model->Rules().GetObjectByID(item->data(RuleIDRole).toString())) : nullptr;
    if (!rule)
        return;
    rule->SetActive(item->checkState() == Qt::Checked);
    ui->checkListBox_Rules->setCurrentItem(item);
    ValidateForm();
    SaveRules(QStringLiteral("Main::CheckRule:"));
}

void TRuleListForm::button_NewClick()
{
    std::unique_ptr<TParameters> copy = Model().Clone();
    auto* rule = new TRule;
    const QString ruleID = rule->ID();
    copy->Rules().AddNewItem(rule);
    TRuleAssistentForm wizard(std::move(copy), ruleID, window());
    if (wizard.exec() != QDialog::Accepted)
        return;
    Trace::Value("Main::NewRule:Creating new rule:", wizard.ActiveRule() ? wizard.ActiveRule()->Name() : QString());
    AdoptWorkingCopy(wizard.TakeParameters(), ruleID);
    SaveRules(QStringLiteral("Main::NewRule:"));
}

void TRuleListForm::button_EditClick()
{
    const TRule* rule = ActiveRule();
    if (!rule)
        return;
    TRuleAssistentForm wizard(Model().Clone(), rule->ID(), window());
    Trace::Value("Main::EditRule:Editing rule:", rule->Name());
    if (wizard.exec() != QDialog::Accepted)
        return;
    AdoptWorkingCopy(wizard.TakeParameters(), m_activeRuleID);
    SaveRules(QStringLiteral("Main::EditRule:"));
}

void TRuleListForm::button_CopyClick()
{
    const TRule* rule = ActiveRule();
    if (!rule)
        return;
    Trace::Value("Main::CopyRule:Cloning rule:", rule->Name());
    // Every property but the ID; the linked sequences are shared, not duplicated.
    auto* copy = new TRule;
    rule->AssignTo(copy);
    copy->SetID(NewGuidString());
    copy->SetActive(false);
    copy->SetName(Model().GetNewRuleName(rule->Name()));
    Model().Rules().AddNewItem(copy);
    m_activeRuleID = copy->ID();
    ReloadRuleList();
    SaveRules(QStringLiteral("Main::CopyRule:"));
}

void TRuleListForm::button_RenameClick()
{
    TRule* rule = ActiveRule();
    if (!rule)
        return;
    TRuleNameForm nameForm(rule->Name(), window());
    if (nameForm.exec() != QDialog::Accepted)
        return;
    rule->SetName(nameForm.Name());
    ValidateForm();
    SaveRules(QStringLiteral("Main::RenameRule:"));
}

void TRuleListForm::button_DeleteClick()
{
    const TRule* rule = ActiveRule();
    if (!rule)
        return;
    const QString question =
        QStringLiteral("Soll die Regel \"") + rule->Name() + QStringLiteral("\" wirklich gelöscht werden?");
    if (TMessageBox::Question(window(), TProgram::Title, question) != QMessageBox::Yes)
        return;
    Trace::Value("Main::DeleteRule:Deleting rule:", rule->Name());
    // A rule still running keeps the model it started with, and the rule in it.
    std::unique_ptr<TParameters> copy = Model().Clone();
    TBaseObject* deleted = copy->Rules().GetObjectByID(rule->ID());
    copy->Rules().RemoveItem(deleted);
    delete deleted;
    const auto* first = copy->Rules().Item<TRule>(0);
    AdoptWorkingCopy(std::move(copy), first ? first->ID() : QString());
    SaveRules(QStringLiteral("Main::DeleteRule:"));
}

void TRuleListForm::button_UpClick()
{
    MoveRule(-1);
}

void TRuleListForm::button_DownClick()
{
    MoveRule(+1);
}

// Rules are compared in list order: moving one changes which runs first.
void TRuleListForm::MoveRule(int offset)
{
    TRule* rule = ActiveRule();
    if (!rule)
        return;
    TBaseList& rules = Model().Rules();
    TBaseObject* other = rules.GetObject(rules.GetIndex(rule) + offset);
    if (!other)
        return;
    rules.SwapItems(rule, other);
    ReloadRuleList();
    SaveRules(QStringLiteral("Main::MoveRule:"));
}

void TRuleListForm::button_TestClick()
{
    const TRule* rule = ActiveRule();
    if (!rule)
        return;
    Trace::Value("Main::TestRule:Testing rule:", rule->Name());
    TRuleTestForm test(m_program.Model(), rule->ID(), window());
    test.exec();
}

void TRuleListForm::button_ActionsSequencesClick()
{
    std::unique_ptr<TParameters> copy = Model().Clone();
    TActionSequencesForm editor(*copy, window());
    if (editor.exec() != QDialog::Accepted)
        return;
    AdoptWorkingCopy(std::move(copy), m_activeRuleID);
    SaveRules(QStringLiteral("Main::ActionSequences:"));
}

void TRuleListForm::ImportExportClick()
{
    TMessageBox::Information(
        window(), TProgram::Title,
        QStringLiteral("Import und Export von Regeln sind in dieser Version noch nicht enthalten."));
}

void TRuleListForm::AdoptWorkingCopy(std::unique_ptr<TParameters> copy, const QString& activeRuleID)
{
    m_activeRuleID = activeRuleID;
    m_program.SetModel(std::shared_ptr<TParameters>(std::move(copy)));
    ReloadRuleList();
}

void TRuleListForm::SaveRules(const QString& label)
{
    if (!Model().SaveObjectsToXMLFile(QString()))
        Trace::Error(label + QStringLiteral("Cannot save File "), DataPathRulesFile());
}
