// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/TemplateEditorForm.h"

#include "editors/definitions/HtmlHighlighter.h"
#include "engine/PageProducer.h"
#include "platform/AtomicFile.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"
#include "widgets/MessageBox.h"

#include "ui_TemplateEditorForm.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QListWidgetItem>

namespace {

// Long enough that the preview does not redraw at every key while the user types.
constexpr int PreviewDelayMs = 400;

} // namespace

TTemplateEditorForm::TTemplateEditorForm(const QString& templatePath, TTemplateKind kind,
                                         const QList<TBaseParameter*>& parameters, const QString& applicationTitle,
                                         QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TTemplateEditorForm>())
    , m_path(templatePath)
    , m_kind(kind)
    , m_entries(TemplateParameterEntries(parameters))
{
    ui->setupUi(this);
    setWindowTitle(QFileInfo(templatePath).fileName() + QStringLiteral(" - ") + applicationTitle);
    ui->splitter_Main->setStretchFactor(0, 1);
    ui->splitter_Main->setStretchFactor(1, 1);
    ui->splitter_Main->setSizes({width() * 11 / 20, width() * 9 / 20});

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ui->memo_Template->setFont(fixed);
    ui->memo_Template->setTabStopDistance(4 * QFontMetricsF(fixed).horizontalAdvance(u' '));
    new THtmlHighlighter(ui->memo_Template->document(), kind);

    for (const TTemplateParameterEntry& entry : std::as_const(m_entries)) {
        auto* item = new QListWidgetItem(entry.Caption, ui->listBox_Parameters);
        item->setToolTip(entry.Tag);
    }
    if (ui->listBox_Parameters->count() > 0)
        ui->listBox_Parameters->setCurrentRow(0);

    m_previewDelay.setSingleShot(true);
    m_previewDelay.setInterval(PreviewDelayMs);
    connect(&m_previewDelay, &QTimer::timeout, this, &TTemplateEditorForm::UpdatePreview);
    connect(ui->memo_Template, &QPlainTextEdit::textChanged, &m_previewDelay, qOverload<>(&QTimer::start));
    connect(ui->memo_Template, &QPlainTextEdit::modificationChanged, this, &TTemplateEditorForm::ValidateForm);
    connect(ui->listBox_Parameters, &QListWidget::currentRowChanged, this, &TTemplateEditorForm::ValidateForm);
    connect(ui->listBox_Parameters, &QListWidget::itemDoubleClicked, this, &TTemplateEditorForm::button_InsertClick);
    connect(ui->button_Insert, &QPushButton::clicked, this, &TTemplateEditorForm::button_InsertClick);
    connect(ui->button_Save, &QPushButton::clicked, this, &TTemplateEditorForm::Save);
    connect(ui->button_OK, &QPushButton::clicked, this, &TTemplateEditorForm::button_OKClick);
    connect(ui->button_Cancel, &QPushButton::clicked, this, &TTemplateEditorForm::reject);

    Load();
    UpdatePreview();
    ValidateForm();
    ui->memo_Template->setFocus();
}

TTemplateEditorForm::~TTemplateEditorForm() = default;

QString TTemplateEditorForm::Text() const
{
    return ui->memo_Template->toPlainText();
}

void TTemplateEditorForm::reject()
{
    if (ui->memo_Template->document()->isModified() &&
        TMessageBox::Question(this, windowTitle(),
                              QStringLiteral("Die Änderungen am Template sind nicht gespeichert. Verwerfen?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    QDialog::reject();
}

void TTemplateEditorForm::Load()
{
    m_fileWritten = QFileInfo::exists(m_path);
    if (!m_fileWritten) {
        Trace::Value("TemplateEditor::Load:New template from the sample", m_path);
        ui->memo_Template->setPlainText(NewTemplateSample(m_kind));
        return;
    }
    try {
        ui->memo_Template->setPlainText(ReadTemplateFile(m_path));
        Trace::Value("TemplateEditor::Load:Template loaded", m_path);
    } catch (const EKestrunError& error) {
        // Whatever the file holds must not be replaced by an empty text.
        Trace::Exception("TemplateEditor::Load", error);
        m_writable = false;
        ui->memo_Template->setReadOnly(true);
        ui->label_Status->setText(QStringLiteral("Das Template kann nicht gelesen werden und wird nicht geändert: ") +
                                  error.Message());
    }
}

bool TTemplateEditorForm::Save()
{
    try {
        WriteFileAtomically(m_path, Text().toUtf8());
    } catch (const EKestrunError& error) {
        Trace::Exception("TemplateEditor::Save", error);
        TMessageBox::Warning(this, windowTitle(),
                             QStringLiteral("Das Template %1 konnte nicht gespeichert werden.\n\n")
                                     .arg(QDir::toNativeSeparators(m_path)) +
                                 error.Message());
        return false;
    }
    Trace::Value("TemplateEditor::Save:Template saved", m_path);
    m_fileWritten = true;
    m_saved = true;
    ui->memo_Template->document()->setModified(false);
    ui->label_Status->setText(QStringLiteral("Gespeichert."));
    return true;
}

void TTemplateEditorForm::button_OKClick()
{
    const bool unsaved = ui->memo_Template->document()->isModified() || !m_fileWritten;
    if (unsaved && !Save())
        return;
    accept();
}

void TTemplateEditorForm::button_InsertClick()
{
    const int row = ui->listBox_Parameters->currentRow();
    if (row < 0 || row >= m_entries.size() || ui->memo_Template->isReadOnly())
        return;
    ui->memo_Template->insertPlainText(m_entries[row].Tag);
    ui->memo_Template->setFocus();
}

void TTemplateEditorForm::UpdatePreview()
{
    m_previewDelay.stop();
    ui->preview_Page->ShowPage(TemplatePreviewPage(Text(), m_kind, m_entries));
}

void TTemplateEditorForm::ValidateForm()
{
    if (ui->memo_Template->document()->isModified())
        ui->label_Status->clear();
    ui->button_Insert->setEnabled(m_writable && ui->listBox_Parameters->currentRow() >= 0);
    ui->button_Save->setEnabled(m_writable);
    ui->button_OK->setEnabled(m_writable);
}
