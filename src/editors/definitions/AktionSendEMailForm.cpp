// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/AktionSendEMailForm.h"

#include "actions/ActionOutlookSendMail.h"
#include "editors/definitions/ExtendedParameterForm.h"
#include "rulesfile/Parameters.h"
#include "widgets/MessageBox.h"

#include "ui_AktionSendEMailForm.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString ExtendedText = QStringLiteral("Erweiterter Parameter ist aktiviert");
constexpr int PathRole = Qt::UserRole + 1;

// The entries of the parameter list: "1" or "0", ";", the field's name, ";", its fixed text.
const std::array<QString, 5> FieldNames {QStringLiteral("Recipient"), QStringLiteral("Subject"), QStringLiteral("CC"),
                                         QStringLiteral("BCC"), QStringLiteral("Template")};

bool EntryEnabled(const QStringList& entries, int field)
{
    return field < entries.size() && entries.at(field).section(u';', 0, 0) == u"1";
}

QString EntryValue(const QStringList& entries, int field)
{
    // The text may hold semicolons of its own.
    return field < entries.size() ? entries.at(field).section(u';', 2) : QString();
}

QString Entry(bool enabled, int field, const QString& value)
{
    return (enabled ? QStringLiteral("1;") : QStringLiteral("0;")) + FieldNames.at(field) + u';' + value;
}

} // namespace

TAktionSendEMailForm::TAktionSendEMailForm(TActionSendEMail& action, const TActionFormContext& context, QWidget* parent)
    : TActionDefinitionForm(action, parent)
    , ChooseAttachment([](QWidget* owner) {
        return QFileDialog::getOpenFileName(owner, QStringLiteral("Anhang auswählen"), QString(),
                                            QStringLiteral("Alle Dateien (*)"));
    })
    , m_mail(action)
    , m_outlookMail(qobject_cast<TActionOutlookSendMail*>(&action))
    , m_context(context)
    , ui(std::make_unique<Ui::TAktionSendEMailForm>())
{
    ui->setupUi(Content());
    setWindowTitle(action.Caption());
    m_rows = {{{ui->checkBox_Recipient, ui->edit_Recipient, ui->button_Recipient, {}},
               {ui->checkBox_Subject, ui->edit_Subject, ui->button_Subject, {}},
               {ui->checkBox_CC, ui->edit_CC, ui->button_CC, {}},
               {ui->checkBox_BCC, ui->edit_BCC, ui->button_BCC, {}}}};
    const QStringList& entries = action.ParameterList();
    for (int field = 0; field < int(m_rows.size()); ++field) {
        TFieldRow& row = m_rows.at(field);
        row.Check->setChecked(EntryEnabled(entries, field));
        row.Edit->setText(EntryValue(entries, field));
        row.Edit->setCursorPosition(0);
        connect(row.Check, &QCheckBox::toggled, this, [this, &row](bool checked) {
            CheckExtendedParameter();
            if (checked && row.Edit->isEnabled())
                row.Edit->setFocus();
        });
        connect(row.More, &QAbstractButton::clicked, this, [this, field] { ShowParameterForm(field); });
    }

    if (m_outlookMail) {
        ui->checkBox_SendImmediately->setChecked(m_outlookMail->SendEMailImmediately());
        ui->checkBox_Attachments->setChecked(m_outlookMail->AttachmentsActive());
        for (const QString& path : m_outlookMail->Attachments()) {
            auto* entry = new QListWidgetItem(ui->listBox_Attachments);
            entry->setData(PathRole, path);
        }
        connect(ui->checkBox_Attachments, &QCheckBox::toggled, this, &TAktionSendEMailForm::UpdateAttachments);
        connect(ui->listBox_Attachments, &QListWidget::currentRowChanged, this,
                &TAktionSendEMailForm::UpdateAttachments);
        connect(ui->button_AddAttachment, &QAbstractButton::clicked, this,
                &TAktionSendEMailForm::button_AddAttachmentClick);
        connect(ui->button_RemoveAttachment, &QAbstractButton::clicked, this,
                &TAktionSendEMailForm::button_RemoveAttachmentClick);
        ui->listBox_Attachments->setCurrentRow(0);
        UpdateAttachments();
    } else {
        // The mail program's composer takes no attachments from a link, and sends nothing by itself.
        ui->panel_Attachments->hide();
    }

    // The body's template is filled from its field's parameters.
    TActionSendEMail& templateAction = InnerAction(TActionSendEMail::FieldTemplate);
    templateAction.SetActive(true);
    ui->frame_Template->SetKind(TTemplateKind::PlainText);
    ui->frame_Template->SetAction(&templateAction, nullptr);
    ui->frame_Template->SetTemplate(EntryValue(entries, TActionSendEMail::FieldTemplate),
                                    EntryEnabled(entries, TActionSendEMail::FieldTemplate));
    connect(ui->button_TemplateParameters, &QAbstractButton::clicked, this,
            [this] { ShowParameterForm(TActionSendEMail::FieldTemplate); });
    CheckExtendedParameter();
    adjustSize();
}

TAktionSendEMailForm::~TAktionSendEMailForm() = default;

TActionSendEMail& TAktionSendEMailForm::InnerAction(int field)
{
    if (TActionSendEMail* inner = m_mail.InnerBaseActionForField(field))
        return *inner;
    auto inner = std::make_unique<TActionSendEMail>();
    inner->SetIsDummy(true);
    inner->SetFieldID(field);
    inner->SetActive(false);
    inner->SetOrvixLine(m_mail.OrvixLine());
    TActionSendEMail& added = *inner;
    m_mail.AddInnerBaseAction(std::move(inner));
    return added;
}

void TAktionSendEMailForm::CheckExtendedParameter()
{
    for (int field = 0; field < int(m_rows.size()); ++field) {
        TFieldRow& row = m_rows.at(field);
        const bool extended = InnerAction(field).Active();
        if (extended && !row.ShowsExtended) {
            row.SavedText = row.Edit->text();
            row.Edit->setText(ExtendedText);
        } else if (!extended && row.ShowsExtended) {
            row.Edit->setText(row.SavedText);
        }
        row.ShowsExtended = extended;
        const bool enabled = row.Check->isChecked();
        row.Edit->setEnabled(enabled && !extended);
        row.More->setEnabled(enabled);
    }
}

void TAktionSendEMailForm::ShowParameterForm(int field)
{
    TActionSendEMail& inner = InnerAction(field);
    // The dialog edits a copy of the field's inner action: "Abbrechen" leaves the field as it was.
    std::unique_ptr<TBaseAction> copy = m_context.Model->CopyAction(inner);
    auto* edited = qobject_cast<TActionSendEMail*>(copy.get());
    if (!edited)
        return;
    TExtendedParameterForm form(*edited, m_context, this);
    if (form.exec() == QDialog::Accepted) {
        // The copy is one of the mail's inner actions from here on; the replaced one goes.
        m_mail.ReplaceInnerBaseAction(
            &inner, std::unique_ptr<TActionSendEMail>(static_cast<TActionSendEMail*>(copy.release())));
        if (field == TActionSendEMail::FieldTemplate)
            ui->frame_Template->SetAction(edited, nullptr);
    }
    CheckExtendedParameter();
}

QStringList TAktionSendEMailForm::AttachmentPaths() const
{
    QStringList paths;
    for (int i = 0; i < ui->listBox_Attachments->count(); ++i)
        paths << ui->listBox_Attachments->item(i)->data(PathRole).toString();
    return paths;
}

void TAktionSendEMailForm::UpdateAttachments()
{
    const bool active = ui->checkBox_Attachments->isChecked();
    QListWidget* list = ui->listBox_Attachments;
    list->setEnabled(active);
    ui->button_AddAttachment->setEnabled(active);
    ui->button_RemoveAttachment->setEnabled(active && list->currentRow() >= 0);
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* entry = list->item(i);
        const QString path = entry->data(PathRole).toString();
        const bool found = QFileInfo(path).isFile();
        entry->setText(found ? path : QStringLiteral("(Nicht gefunden) ") + path);
        QFont font = list->font();
        font.setItalic(!found);
        entry->setFont(font);
        // While the list is off every entry takes the grey of disabled text.
        if (active)
            entry->setForeground(found ? QColor(Qt::black) : QColor(Qt::red));
        else
            entry->setData(Qt::ForegroundRole, QVariant());
    }
}

void TAktionSendEMailForm::button_AddAttachmentClick()
{
    const QString path = ChooseAttachment(this);
    if (path.isEmpty())
        return;
    if (AttachmentPaths().contains(path)) {
        TMessageBox::Critical(this, QStringLiteral("E-Mail - Anhang"),
                              QStringLiteral("Diese Datei ist bereits in der Liste der Anhänge vorhanden."));
        return;
    }
    auto* entry = new QListWidgetItem(ui->listBox_Attachments);
    entry->setData(PathRole, path);
    ui->listBox_Attachments->setCurrentItem(entry);
    UpdateAttachments();
}

void TAktionSendEMailForm::button_RemoveAttachmentClick()
{
    QListWidget* list = ui->listBox_Attachments;
    const int row = list->currentRow();
    if (row < 0)
        return;
    delete list->takeItem(row);
    list->setCurrentRow(std::min(row, list->count() - 1));
    UpdateAttachments();
}

QList<TActionDefinitionForm::TFieldProblem> TAktionSendEMailForm::Problems() const
{
    // Without a path the mail goes without a body, which may be meant; a path that
    // names no file is a mistake.
    const TTemplateFrame& frame = *ui->frame_Template;
    if (frame.IsActive() && !frame.TemplatePath().isEmpty() && !frame.TemplateExists())
        return {{frame.PathField(), QStringLiteral("Gültiges Templatefile auswählen")}};
    return {};
}

void TAktionSendEMailForm::WriteFields()
{
    QStringList entries = m_mail.ParameterList();
    while (entries.size() < int(FieldNames.size()))
        entries.append(QString());
    for (int field = 0; field < int(m_rows.size()); ++field) {
        const TFieldRow& row = m_rows.at(field);
        entries[field] = Entry(row.Check->isChecked(), field, row.ShowsExtended ? row.SavedText : row.Edit->text());
    }
    entries[TActionSendEMail::FieldTemplate] =
        Entry(ui->frame_Template->IsActive(), TActionSendEMail::FieldTemplate, ui->frame_Template->TemplatePath());
    m_mail.SetParameterList(entries);
    if (m_outlookMail) {
        m_outlookMail->SetSendEMailImmediately(ui->checkBox_SendImmediately->isChecked());
        m_outlookMail->SetAttachmentsActive(ui->checkBox_Attachments->isChecked());
        m_outlookMail->SetAttachments(AttachmentPaths());
    }
    if (ui->frame_Template->IsActive() && ui->frame_Template->TemplateExists())
        ui->frame_Template->BringParametersInStep();
}
