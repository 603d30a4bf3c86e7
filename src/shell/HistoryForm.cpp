// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/HistoryForm.h"

#include "history/CallHistory.h"
#include "history/HistoryCsv.h"
#include "shell/HistoryTableModel.h"
#include "trace/Trace.h"
#include "widgets/MessageBox.h"

#include "ui_HistoryForm.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QSaveFile>

namespace {

const QString Title = QStringLiteral("Anrufliste");

} // namespace

THistoryForm::THistoryForm(TCallHistory& history, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::THistoryForm>())
    , m_history(history)
    , m_model(new THistoryTableModel(this))
{
    ui->setupUi(this);
    ui->tableView_Calls->setModel(m_model);
    ui->tableView_Calls->horizontalHeader()->setSortIndicator(THistoryTableModel::ColumnStarted, Qt::DescendingOrder);
    ui->tableView_Calls->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const QDate today = QDate::currentDate();
    ui->dateEdit_From->setDate(today.addDays(-7));
    ui->dateEdit_To->setDate(today);

    m_chooseExportFile = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Anrufliste exportieren"),
                                            QDir::home().filePath(QStringLiteral("Anrufliste.csv")),
                                            QStringLiteral("CSV-Dateien (*.csv)"));
    };

    // Typing asks once the user pauses, not at every key.
    m_searchDelay.setSingleShot(true);
    m_searchDelay.setInterval(250);
    connect(&m_searchDelay, &QTimer::timeout, this, &THistoryForm::Reload);
    connect(ui->lineEdit_Search, &QLineEdit::textChanged, &m_searchDelay, qOverload<>(&QTimer::start));
    connect(ui->checkBox_MissedOnly, &QCheckBox::toggled, this, &THistoryForm::Reload);
    connect(ui->checkBox_DateRange, &QCheckBox::toggled, this, [this](bool on) {
        ui->dateEdit_From->setEnabled(on);
        ui->dateEdit_To->setEnabled(on);
        Reload();
    });
    connect(ui->dateEdit_From, &QDateEdit::dateChanged, this, &THistoryForm::Reload);
    connect(ui->dateEdit_To, &QDateEdit::dateChanged, this, &THistoryForm::Reload);
    connect(m_model, &THistoryTableModel::SortRequested, this, [this](THistoryFilter::TColumn column, bool ascending) {
        m_sortColumn = column;
        m_ascending = ascending;
        Reload();
    });
    connect(ui->tableView_Calls, &QTableView::doubleClicked, this, &THistoryForm::button_CallBackClick);
    connect(ui->tableView_Calls->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &THistoryForm::ValidateForm);
    connect(ui->button_CallBack, &QPushButton::clicked, this, &THistoryForm::button_CallBackClick);
    connect(ui->button_TestRule, &QPushButton::clicked, this, &THistoryForm::button_TestRuleClick);
    connect(ui->button_Block, &QPushButton::clicked, this, &THistoryForm::button_BlockClick);
    connect(ui->button_Export, &QPushButton::clicked, this, &THistoryForm::button_ExportClick);
    connect(ui->button_Clear, &QPushButton::clicked, this, &THistoryForm::button_ClearClick);
    connect(ui->button_Close, &QPushButton::clicked, this, &QWidget::close);
    // New calls appear while the window is open.
    connect(&m_history, &TCallHistory::HistoryChanged, this, [this] {
        if (isVisible())
            Reload();
    });
    ValidateForm();
}

THistoryForm::~THistoryForm() = default;

void THistoryForm::SetRules(const QList<TRuleChoice>& rules)
{
    const QString current = ui->comboBox_Rules->currentData().toString();
    ui->comboBox_Rules->clear();
    for (const TRuleChoice& rule : rules)
        ui->comboBox_Rules->addItem(rule.name, rule.id);
    const int index = ui->comboBox_Rules->findData(current);
    if (index >= 0)
        ui->comboBox_Rules->setCurrentIndex(index);
    ValidateForm();
}

THistoryFilter THistoryForm::Filter() const
{
    THistoryFilter filter;
    filter.text = ui->lineEdit_Search->text();
    filter.missedOnly = ui->checkBox_MissedOnly->isChecked();
    if (ui->checkBox_DateRange->isChecked()) {
        filter.from = ui->dateEdit_From->date();
        filter.to = ui->dateEdit_To->date();
    }
    filter.sortColumn = m_sortColumn;
    filter.ascending = m_ascending;
    filter.limit = PageSize;
    return filter;
}

void THistoryForm::Reload()
{
    m_searchDelay.stop();
    const quint64 number = ++m_queryNumber;
    m_history.Query(Filter(), this, [this, number](std::vector<TCallRecord> calls) {
        if (number == m_queryNumber)
            ShowCalls(std::move(calls));
    });
}

const std::vector<TCallRecord>& THistoryForm::ShownCalls() const
{
    return m_model->Calls();
}

void THistoryForm::ShowCalls(std::vector<TCallRecord> calls)
{
    const qint64 selectedId = SelectedCall() ? SelectedCall()->id : 0;
    m_model->SetCalls(std::move(calls));
    const auto& shown = m_model->Calls();
    for (size_t row = 0; row < shown.size(); ++row) {
        if (shown[row].id == selectedId)
            ui->tableView_Calls->selectRow(static_cast<int>(row));
    }
    const int count = static_cast<int>(shown.size());
    if (!m_history.Enabled())
        ui->label_Count->setText(QStringLiteral("Der Anrufverlauf ist ausgeschaltet."));
    else if (count >= PageSize)
        ui->label_Count->setText(
            QStringLiteral("Die neuesten %1 Anrufe werden gezeigt; grenzen Sie die Suche ein.").arg(PageSize));
    else
        ui->label_Count->setText(count == 1 ? QStringLiteral("1 Anruf") : QStringLiteral("%1 Anrufe").arg(count));
    ValidateForm();
    emit CallsShown();
}

const TCallRecord* THistoryForm::SelectedCall() const
{
    const QModelIndexList rows = ui->tableView_Calls->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    const auto row = static_cast<size_t>(rows.first().row());
    return row < m_model->Calls().size() ? &m_model->Calls()[row] : nullptr;
}

void THistoryForm::ValidateForm()
{
    const TCallRecord* call = SelectedCall();
    const bool hasNumber = call && !call->number.isEmpty();
    ui->button_CallBack->setEnabled(hasNumber);
    ui->button_Block->setEnabled(hasNumber && call->direction == TCallDirection::Incoming);
    ui->button_TestRule->setEnabled(call && ui->comboBox_Rules->count() > 0);
    ui->button_Export->setEnabled(!m_model->Calls().empty());
    ui->button_Clear->setEnabled(m_history.Enabled());
    // The rule that fired for the call is the one the user most likely wants to try again.
    if (call && !call->firedRules.isEmpty()) {
        const int index = ui->comboBox_Rules->findText(call->firedRules.first());
        if (index >= 0)
            ui->comboBox_Rules->setCurrentIndex(index);
    }
}

void THistoryForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Reload();
    MarkSeen();
}

void THistoryForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        MarkSeen();
}

void THistoryForm::MarkSeen()
{
    if (m_history.UnseenMissedCount() > 0)
        m_history.MarkMissedSeen();
}

void THistoryForm::button_CallBackClick()
{
    if (const TCallRecord* call = SelectedCall(); call && !call->number.isEmpty())
        emit CallBackRequested(call->number);
}

void THistoryForm::button_TestRuleClick()
{
    const TCallRecord* call = SelectedCall();
    const QString ruleId = ui->comboBox_Rules->currentData().toString();
    if (call && !ruleId.isEmpty())
        emit RuleTestRequested(ruleId, *call);
}

void THistoryForm::button_BlockClick()
{
    if (const TCallRecord* call = SelectedCall(); call && !call->number.isEmpty())
        emit BlockRequested(*call);
}

void THistoryForm::button_ExportClick()
{
    const QString path = m_chooseExportFile();
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(HistoryCsv(m_model->Calls())) < 0 || !file.commit()) {
        Trace::Warning("History::Export:File not written", path + QStringLiteral(": ") + file.errorString());
        TMessageBox::Warning(this, Title,
                             QStringLiteral("Die Datei %1 konnte nicht geschrieben werden:\n%2")
                                 .arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    Trace::Value("History::Export:Calls exported", qint64(m_model->Calls().size()));
}

void THistoryForm::button_ClearClick()
{
    if (TMessageBox::Question(this, Title,
                              QStringLiteral("Soll der ganze Anrufverlauf unwiderruflich gelöscht werden?")) !=
        QMessageBox::Yes)
        return;
    m_history.Clear(this, [this](bool cleared) {
        if (!cleared)
            TMessageBox::Warning(this, Title, QStringLiteral("Der Anrufverlauf konnte nicht gelöscht werden."));
        Reload();
    });
}
