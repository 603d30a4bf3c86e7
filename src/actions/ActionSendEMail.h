// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseAction.h"
#include "pim/MailItem.h"

#include <QStringList>

#include <memory>
#include <vector>

/**
 * @brief Starts an e-mail about a call from five fields (Recipient, Subject, CC,
 * BCC, Template), each enabled or not, with a fixed value or the results of
 * parameters.
 *
 * A field that takes parameters owns a hidden inner action: a TActionSendEMail
 * marked IsDummy whose FieldID is the field's number and whose parameters are
 * resolved when the e-mail action runs; its Active flag says whether the field
 * uses them instead of the fixed value.
 */
class TActionSendEMail : public TBaseAction
{
    Q_OBJECT
    Q_PROPERTY(bool IsDummy READ IsDummy WRITE SetIsDummy)
    Q_PROPERTY(int FieldID READ FieldID WRITE SetFieldID)
    Q_PROPERTY(QStringList ParameterList READ ParameterList WRITE SetParameterList)
    Q_PROPERTY(QString HTMLTemplate READ HTMLTemplate WRITE SetHTMLTemplate)

public:
    // The fields in ParameterList order; an inner action's FieldID is one of them.
    enum EMailField
    {
        FieldRecipient,
        FieldSubject,
        FieldCC,
        FieldBCC,
        FieldTemplate
    };

    TActionSendEMail();
    ~TActionSendEMail() override;

    // This object is an inner action of an e-mail action, not an action of its own.
    KESTRUN_FIELD(bool, IsDummy, false)
    // For an inner action: the field it serves (EMailField); -1 otherwise.
    KESTRUN_FIELD(int, FieldID, -1)
    // One entry per field: enabled flag ("1" or "0"), ";", field name, ";", fixed value.
    KESTRUN_FIELD(QStringList, ParameterList)
    KESTRUN_FIELD(QString, HTMLTemplate)

    static QStringList StandardParameterListEntries();

    // Runs the inner actions and the field loop and hands the mail on; see EMailActions.cpp.
    void ExecuteAction(TActionContext& context) override;

    // The mailto link (RFC 6068) of a link list of "name=value" lines: Recipient,
    // then Subject, CC, BCC and Body as query fields, each value percent-encoded
    // (UTF-8), so "&", "?", "#", "%" and line breaks in call data stay inside their
    // field. Of the address fields only plain addr-specs go in; the rest is traced
    // and left out.
    static QString CreateLink(const QStringList& linkList);
    // Appends "Attachment1=<path>", "Attachment2=..." in the order of the paths.
    static void AddAttachmentsToParameterList(QStringList& linkList, const QStringList& attachments);

    const std::vector<std::unique_ptr<TActionSendEMail>>& InnerBaseActions() const { return m_innerBaseActions; }
    void AddInnerBaseAction(std::unique_ptr<TActionSendEMail> action);
    void ClearInnerBaseActions() { m_innerBaseActions.clear(); }
    // Puts replacement in the place of the inner action old and hands old back;
    // null, and nothing changed, when old is not one of them.
    std::unique_ptr<TActionSendEMail> ReplaceInnerBaseAction(const TActionSendEMail* old,
                                                             std::unique_ptr<TActionSendEMail> replacement);
    // The first inner action serving the field, or null.
    TActionSendEMail* InnerBaseActionForField(int fieldID) const;

protected:
    // What the action does with the link list once its fields are filled; htmlBody
    // says whether the body is HTML (its template's type). A mail that cannot be
    // handed on is kept as a draft and the user told.
    virtual void HandOnMail(TActionContext& context, QStringList& linkList, bool htmlBody);

private:
    std::vector<std::unique_ptr<TActionSendEMail>> m_innerBaseActions;
};
