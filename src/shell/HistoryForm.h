// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "history/CallRecord.h"
#include "history/HistoryFilter.h"

#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class THistoryForm;
}

class TCallHistory;
class THistoryTableModel;

/**
 * @brief "Anrufliste": the calls of the history, searchable, with call-back,
 * the rule test, blocking and export.
 *
 * Shows what the history it is given answers for its filter (text over name,
 * number and company; missed calls only; a date range), newest first or in the
 * order of the caption clicked, a page of at most PageSize calls. While it is
 * shown and active the missed calls count as seen. What the user asks of a call
 * it hands back through its signals; the owner places the call, opens the rule
 * test, blocks the number.
 */
class THistoryForm : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PageSize = 500;

    struct TRuleChoice
    {
        QString id;
        QString name;
    };

    explicit THistoryForm(TCallHistory& history, QWidget* parent = nullptr);
    ~THistoryForm() override;

    // The rules "Regel testen" offers, in list order.
    void SetRules(const QList<TRuleChoice>& rules);
    // Asks the history again with the filter as it stands.
    void Reload();
    const std::vector<TCallRecord>& ShownCalls() const;
    THistoryFilter Filter() const;
    // Where "Exportieren..." writes; the default asks with a file dialog. Empty: cancelled.
    void SetExportFileChooser(std::function<QString()> chooser) { m_chooseExportFile = std::move(chooser); }

signals:
    void CallBackRequested(const QString& number);
    void RuleTestRequested(const QString& ruleId, const TCallRecord& call);
    void BlockRequested(const TCallRecord& call);
    // The calls of the latest query are shown.
    void CallsShown();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    const TCallRecord* SelectedCall() const;
    void ShowCalls(std::vector<TCallRecord> calls);
    void MarkSeen();
    void ValidateForm();
    void button_CallBackClick();
    void button_TestRuleClick();
    void button_BlockClick();
    void button_ExportClick();
    void button_ClearClick();

    std::unique_ptr<Ui::THistoryForm> ui;
    TCallHistory& m_history;
    THistoryTableModel* m_model;
    THistoryFilter::TColumn m_sortColumn = THistoryFilter::TColumn::Started;
    bool m_ascending = false;
    QTimer m_searchDelay;
    std::function<QString()> m_chooseExportFile;
    // Answers of queries that a later one overtook are dropped.
    quint64 m_queryNumber = 0;
};
