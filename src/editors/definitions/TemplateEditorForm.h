// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/TemplateEditor_Core.h"
#include "engine/TemplatePreviewPage.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QTimer>

#include <memory>

namespace Ui {
class TTemplateEditorForm;
}

class TBaseParameter;

/**
 * @brief The template editor: the text of one template file beside a preview of
 * it filled with sample values, and the action's parameters to insert as tags.
 *
 * It opens the file (UTF-8) when it exists and otherwise starts from the sample
 * of its kind, which "OK" writes. "Speichern" and "OK" write the file atomically;
 * when that fails, the old file stays, a message names the path and the cause,
 * and the text stays in the open dialog. "Abbrechen" asks before it drops
 * changes not saved. The preview follows the text shortly after typing stops.
 * A file that exists but cannot be read is named in the dialog and not written.
 */
class TTemplateEditorForm : public QDialog
{
    Q_OBJECT

public:
    // parameters: the action's parameters, offered for insertion and giving the
    // preview its samples; read here, not kept. The title is the file name, " - "
    // and applicationTitle.
    TTemplateEditorForm(const QString& templatePath, TTemplateKind kind, const QList<TBaseParameter*>& parameters,
                        const QString& applicationTitle, QWidget* parent = nullptr);
    ~TTemplateEditorForm() override;

    // Whether the file was written while the dialog was open ("Speichern" or "OK").
    bool Saved() const { return m_saved; }
    QString Text() const;

    // "Abbrechen", Escape and closing the window: asks first when changes are not saved.
    void reject() override;

private:
    void Load();
    bool Save();
    void button_OKClick();
    void button_InsertClick();
    void UpdatePreview();
    void ValidateForm();

    std::unique_ptr<Ui::TTemplateEditorForm> ui;
    QString m_path;
    TTemplateKind m_kind;
    QList<TTemplateParameterEntry> m_entries;
    QTimer m_previewDelay;
    // The file on disk holds the text as loaded or last saved; false for a new file.
    bool m_fileWritten = false;
    // False when the file exists but could not be read: it is then never written.
    bool m_writable = true;
    bool m_saved = false;
};
