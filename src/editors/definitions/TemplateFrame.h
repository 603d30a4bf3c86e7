// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/TemplateEditor_Core.h"

#include <QWidget>

#include <functional>
#include <memory>

class TBaseAction;
class TBaseParameter;
class TParametersFrame;

namespace Ui {
class TTemplateFrame;
}

/**
 * @brief The template group of the definition dialogs: the template's path, a
 * chooser, "Neu..." and "Bearbeiten..." for the template editor, and "Aktivieren".
 *
 * "Aktivieren" enables the path and the three buttons; "Bearbeiten..." needs a
 * path that names an existing file. After the editor has saved, the parameters of
 * the parameter frame's action are brought in step with the template's tags.
 * Every change is told through TemplateChanged, so that the dialog can check its
 * fields again.
 */
class TTemplateFrame : public QWidget
{
    Q_OBJECT

public:
    explicit TTemplateFrame(QWidget* parent = nullptr);
    ~TTemplateFrame() override;

    // What the template holds: an HTML page, or the text of an item or a mail.
    void SetKind(TTemplateKind kind) { m_kind = kind; }
    void SetTemplate(const QString& path, bool active);
    // A template that is always used: "Aktivieren" set and not to be cleared.
    void SetAlwaysActive();
    // The action whose parameters follow the template and are offered in the editor,
    // and the dialog's parameter frame that shows them, if it has one.
    void SetAction(TBaseAction* action, TParametersFrame* parametersFrame);

    QString TemplatePath() const;
    // The path with its environment references expanded, as the actions read it.
    QString ResolvedPath() const;
    bool IsActive() const;
    bool TemplateExists() const;
    QWidget* PathField() const;

    // Brings the action's parameters in step with the template's tags: those whose
    // tag left the template go only when the user agrees; a tag without a parameter
    // gets a new one.
    void BringParametersInStep();

    // Asks for a file; empty when the user cancels. Replaceable for tests.
    std::function<QString(QWidget* parent, const QString& title, const QString& start, const QString& filter)>
        ChooseOpenFile;
    std::function<QString(QWidget* parent, const QString& title, const QString& start, const QString& filter)>
        ChooseSaveFile;

signals:
    void TemplateChanged();

private:
    void ValidateForm();
    void button_ChooseTemplateClick();
    void button_NewClick();
    void button_EditClick();
    void OpenEditor(const QString& path);
    QList<TBaseParameter*> UsedParameters() const;
    QString FileFilter() const;
    QString StartFolder() const;

    std::unique_ptr<Ui::TTemplateFrame> ui;
    TTemplateKind m_kind = TTemplateKind::Html;
    TBaseAction* m_action = nullptr;
    TParametersFrame* m_parametersFrame = nullptr;
};
