// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/RuleListForm.h"

#include "editors/ActionSequencesForm.h"
#include "editors/NameForm.h"
#include "editors/RuleAssistentForm.h"
#include "editors/RuleTestForm.h"
#include "editors/RulesChoiceForm.h"
#include "model/Guid.h"
#include "model/Rule.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "program/Program.h"
#include "rulesfile/Parameters.h"
#include "rulesfile/RulesExchange.h"
#include "shell/RuleDescription.h"
#include "trace/Trace.h"
#include "widgets/DefaultButton.h"
#include "widgets/MessageBox.h"
#include "widgets/SymbolIcon.h"

#include "ui_RuleListForm.h"

#include <QDir>
#include <QFileDialog>
#include <QSignalBlocker>

namespace {

constexpr int RuleIDRole = Qt::UserRole;
constexpr int EntryHeight = 18;

// The file choosers of import ("Import rule") and export ("Export rule").
QString ChooseExchangeFile(QWidget* parent, QFileDialog::AcceptMode mode)
{
    const bool open = mode == QFileDialog::AcceptOpen;
    QFileDialog chooser(parent, open ? QStringLiteral("Import rule") : QStringLiteral("Export rule"), QDir::homePath());
    chooser.setAcceptMode(mode);
    chooser.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    chooser.setNameFilters({QStringLiteral("Regeldateien (*.xml)"), QStringLiteral("Alle Dateien (*)")});
    chooser.setDefaultSuffix(QStringLiteral("xml"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return {};
    return chooser.selectedFiles().constFirst();
}

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
    connect(ui->button_Import, &QPushButton::clicked, this, &TRuleListForm::button_ImportClick);
    connect(ui->button_Export, &QPushButton::clicked, this, &TRuleListForm::button_ExportClick);
    m_chooseImportFile = [this] { return ChooseExchangeFile(window(), QFileDialog::AcceptOpen); };
    m_chooseExportFile = [this] { return ChooseExchangeFile(window(), QFileDialog::AcceptSave); };
    connect(ui->button_Hide, &QPushButton::clicked, this, &TRuleListForm::HideRequested);
    new TDefaultButton(*this, *ui->button_New);
    connect(ui->button_History, &QPushButton::clicked, this, &TRuleListForm::HistoryRequested);
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

bool TRuleListForm::ListShowsRulesOf(const TParameters* model) const
{
    const QListWidget& list = *ui->checkListBox_Rules;
    const int count = model ? model->Rules().Count() : 0;
    if (list.count() != count)
        return false;
    for (int i = 0; i < count; ++i) {
        const auto* rule = model->Rules().Item<TRule>(i);
        if (!rule || list.item(i)->data(RuleIDRole).toString() != rule->ID())
            return false;
    }
    return true;
}

void TRuleListForm::ValidateForm()
{
    QListWidget& list = *ui->checkListBox_Rules;
    const std::shared_ptr<TParameters>& model = m_program.Model();
    // Filling the list and setting its check marks is not the user's doing.
    const QSignalBlocker blocker(list);
    // The entries stay when the list still holds the same rules in the same order (a check
    // mark or a new name): a check mark's entry is still busy with its own signal.
    if (m_reloadRules && !ListShowsRulesOf(model.get())) {
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
    }
    if (m_reloadRules) {
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
        if (const auto* listed = model->Rules().Item<TRule>(i)) {
            list.item(i)->setText(listed->Name());
            list.item(i)->setCheckState(listed->Active() ? Qt::Checked : Qt::Unchecked);
        }
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

void TRuleListForm::ShowHint(bool shown)
{
    ui->label_Hint->setVisible(shown);
}

void TRuleListForm::SetStatusText(const QString& text)
{
    ui->label_Status->setText(text);
}

// A check mark changes the model in force at once, and the file with it, so
// that it survives a crash or the end of the session.
void TRuleListForm::checkListBox_RulesClickCheck(QListWidgetItem* item)
{
    const bool active = item->checkState() == Qt::Checked;
    ChangeInCopy(
        item->data(RuleIDRole).toString(),
        [active](TParameters&, TRule& rule) {
            rule.SetActive(active);
            return rule.ID();
        },
        QStringLiteral("Main::CheckRule:"));
}

void TRuleListForm::button_NewClick()
{
    // The wizard's copy is put in force as a whole: nothing may change the rules meanwhile.
    const TProgram::TRulesEditing editing(m_program);
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
    const TProgram::TRulesEditing editing(m_program);
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
    ChangeInCopy(
        rule->ID(),
        [](TParameters& copy, TRule& original) {
            // Every property but the ID; the linked sequences are shared, not duplicated.
            auto* duplicate = new TRule;
            original.AssignTo(duplicate);
            duplicate->SetID(NewGuidString());
            duplicate->SetActive(false);
            duplicate->SetName(copy.GetNewRuleName(original.Name()));
            copy.Rules().AddNewItem(duplicate);
            return duplicate->ID();
        },
        QStringLiteral("Main::CopyRule:"));
}

void TRuleListForm::button_RenameClick()
{
    const TRule* rule = ActiveRule();
    if (!rule)
        return;
    TRuleNameForm nameForm(rule->Name(), window());
    if (nameForm.exec() != QDialog::Accepted)
        return;
    const QString name = nameForm.Name();
    ChangeInCopy(
        m_activeRuleID,
        [&name](TParameters&, TRule& renamed) {
            renamed.SetName(name);
            return renamed.ID();
        },
        QStringLiteral("Main::RenameRule:"));
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
    const TRule* rule = ActiveRule();
    if (!rule)
        return;
    ChangeInCopy(
        rule->ID(),
        [offset](TParameters& copy, TRule& moved) {
            TBaseList& rules = copy.Rules();
            if (TBaseObject* other = rules.GetObject(rules.GetIndex(&moved) + offset))
                rules.SwapItems(&moved, other);
            return moved.ID();
        },
        QStringLiteral("Main::MoveRule:"));
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
    const TProgram::TRulesEditing editing(m_program);
    std::unique_ptr<TParameters> copy = Model().Clone();
    TActionSequencesForm editor(*copy, window());
    if (editor.exec() != QDialog::Accepted)
        return;
    AdoptWorkingCopy(std::move(copy), m_activeRuleID);
    SaveRules(QStringLiteral("Main::ActionSequences:"));
}

// The file is read and checked as a whole before the user chooses from it; the
// chosen rules go into a copy of the model, which is put in force and saved.
// Nothing is written when the user cancels or the file cannot be imported.
void TRuleListForm::button_ImportClick()
{
    const QString title = QStringLiteral("Regeln importieren");
    const QString path = m_chooseImportFile();
    if (path.isEmpty())
        return;
    std::unique_ptr<TParameters> fileModel;
    try {
        fileModel = RulesExchange::ReadExchangeFile(path);
    } catch (const EKestrunError& error) {
        TMessageBox::Warning(window(), title, error.Message());
        return;
    }
    TImportRulesForm chooser(std::move(fileModel), window());
    if (chooser.exec() != QDialog::Accepted)
        return;
    std::unique_ptr<TParameters> copy = Model().Clone();
    const QList<TRule*> imported = RulesExchange::ImportRules(*copy, chooser.TakeParameters());
    AdoptWorkingCopy(std::move(copy), imported.isEmpty() ? m_activeRuleID : imported.first()->ID());
    SaveRules(QStringLiteral("Main::ImportRule:"));
}

// The rules in force, check marks not yet saved included; the model stays as it is.
void TRuleListForm::button_ExportClick()
{
    const QString title = QStringLiteral("Regeln exportieren");
    TExportRulesForm chooser(Model().Clone(), window());
    if (chooser.exec() != QDialog::Accepted)
        return;
    const QString path = m_chooseExportFile();
    if (path.isEmpty())
        return;
    Trace::Value("Main::ExportRule:Exporting rules to file", path);
    try {
        RulesExchange::WriteExchangeFile(*chooser.TakeParameters(), path);
    } catch (const EKestrunError& error) {
        TMessageBox::Warning(window(), title, error.Message());
    }
}

void TRuleListForm::ChangeInCopy(const QString& ruleID,
                                 const std::function<QString(TParameters& copy, TRule& rule)>& change,
                                 const QString& label)
{
    std::unique_ptr<TParameters> copy = Model().Clone();
    auto* rule = qobject_cast<TRule*>(copy->Rules().GetObjectByID(ruleID));
    if (!rule)
        return;
    const QString selected = change(*copy, *rule);
    AdoptWorkingCopy(std::move(copy), selected);
    SaveRules(label);
}

void TRuleListForm::AdoptWorkingCopy(std::unique_ptr<TParameters> copy, const QString& activeRuleID)
{
    m_activeRuleID = activeRuleID;
    m_program.SetModel(std::shared_ptr<TParameters>(std::move(copy)));
    ReloadRuleList();
}

void TRuleListForm::SaveRules(const QString& label)
{
    if (!m_program.SaveRules())
        Trace::Error(label + QStringLiteral("Cannot save File "), DataPathRulesFile());
}
