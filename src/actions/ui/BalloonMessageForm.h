// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ui/BaseMessageForm.h"

#include <QHash>
#include <QUrl>

#include <functional>
#include <memory>

namespace Ui {
class TBalloonMessageForm;
}

class QLabel;
class QScrollArea;

/**
 * @brief The standard message window: one row per parameter of the message,
 * its alias and the value it resolved to.
 *
 * Values are call data and are shown as plain text, never as markup. A value
 * that is an e-mail address or a telephone number is underlined and opens the
 * user's mail program or telephony handler when clicked ("mailto:" or "tel:").
 * The window grows with its rows up to its maximum height, which the window
 * collection sets to what the work area holds; more rows scroll. It stacks
 * after the HTML message windows.
 */
class TBalloonMessageForm : public TBaseMessageForm
{
    Q_OBJECT

public:
    // Opens a link; the desktop's handler unless a test watches instead.
    using TUrlOpener = std::function<bool(const QUrl&)>;

    explicit TBalloonMessageForm(TModelSource modelSource, TUrlOpener urlOpener = {});
    ~TBalloonMessageForm() override;

    TStackGroup StackGroup() const override { return TStackGroup::Balloon; }

    // The rows' labels in order: alias, value, alias, value ...
    QList<QLabel*> ResultLabels() const;
    // The link a value label opens when clicked; empty when it is no link.
    QUrl LinkOf(const QLabel* label) const { return m_links.value(label); }

protected:
    void FormShow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateResultLabels();
    QLabel* AddLabel(const QString& text, int left, int top, int width);
    void HandleLabelClick(const QLabel* label);

    std::unique_ptr<Ui::TBalloonMessageForm> ui;
    TUrlOpener m_urlOpener;
    // scrollBox_Results, filling the message panel, and panel_Results in it: the rows.
    QScrollArea* m_scrollBox = nullptr;
    QWidget* m_results = nullptr;
    QList<QLabel*> m_labels;
    QHash<const QLabel*, QUrl> m_links;
};
