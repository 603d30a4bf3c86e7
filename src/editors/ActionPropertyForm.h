// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QMetaProperty;
class TBaseAction;
class TParameters;

namespace Ui {
class TActionPropertyForm;
}

/**
 * @brief A plain definition dialog for any action: one row per property the
 * action publishes, labelled with the property's name.
 *
 * Writable properties get an editor (check box for bool, spin box for int, line
 * edit for text, one line per entry for text lists); read-only text such as the
 * description is shown as it is. Below them the parameter panel edits the
 * action's parameters. The editors hold copies of the values: only "OK" writes
 * them, and only those the user changed. The caller hands a copy of the action
 * (or a new one) and adopts it on OK, so that "Abbrechen", which drops the copy,
 * also drops what the parameter panel changed.
 */
class TActionPropertyForm : public QDialog
{
    Q_OBJECT

public:
    // model: the working copy the action belongs to, through which the parameter dialogs copy.
    TActionPropertyForm(TBaseAction& action, TParameters& model, const QString& caption, QWidget* parent = nullptr);
    ~TActionPropertyForm() override;

    void accept() override;

private:
    void AddRow(const char* name, QWidget* editor);
    // A row whose editor gives the property's value on OK through edited().
    void AddField(const QMetaProperty& property, QWidget* editor, std::function<QVariant()> edited);

    TBaseAction& m_action;
    std::unique_ptr<Ui::TActionPropertyForm> ui;
    // One per editor: writes its value to the action when it differs from the action's.
    std::vector<std::function<void()>> m_writers;
};
