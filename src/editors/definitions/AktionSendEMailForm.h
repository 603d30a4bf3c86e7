// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ActionDefinitionForm.h"

#include <array>
#include <functional>

class QCheckBox;
class QToolButton;
class TActionOutlookSendMail;
class TActionSendEMail;

namespace Ui {
class TAktionSendEMailForm;
}

/**
 * @brief The dialog of both e-mail actions: recipient, subject, CC and BCC,
 * each with a fixed text or the values of parameters ("..."), the template of
 * the body, and for the mail made in the mail folder its attachments and whether
 * it goes at once.
 *
 * Each field's parameters belong to an inner action of the field, made here when
 * it is missing and kept with the action from then on.
 */
class TAktionSendEMailForm : public TActionDefinitionForm
{
    Q_OBJECT

public:
    TAktionSendEMailForm(TActionSendEMail& action, const TActionFormContext& context, QWidget* parent = nullptr);
    ~TAktionSendEMailForm() override;

    // Asks for a file to attach; empty when the user cancels. Replaceable for tests.
    std::function<QString(QWidget* parent)> ChooseAttachment;
    // Opens the parameters of one field (0 recipient ... 3 BCC, 4 body template).
    void ShowParameterForm(int field);

protected:
    QList<TFieldProblem> Problems() const override;
    void WriteFields() override;

private:
    struct TFieldRow
    {
        QCheckBox* Check;
        QLineEdit* Edit;
        QToolButton* More;
        // The fixed text while the box shows that the field takes parameters.
        QString SavedText;
        bool ShowsExtended = false;
    };

    TActionSendEMail& InnerAction(int field);
    void CheckExtendedParameter();
    void UpdateAttachments();
    void button_AddAttachmentClick();
    void button_RemoveAttachmentClick();
    QStringList AttachmentPaths() const;

    TActionSendEMail& m_mail;
    TActionOutlookSendMail* m_outlookMail;
    TActionFormContext m_context;
    std::array<TFieldRow, 4> m_rows;
    std::unique_ptr<Ui::TAktionSendEMailForm> ui;
};
