// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionSendEMail.h"

#include "actions/ActionKinds.h"

TActionSendEMail::TActionSendEMail()
    : FParameterList(StandardParameterListEntries())
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

TActionSendEMail::~TActionSendEMail() = default;

QStringList TActionSendEMail::StandardParameterListEntries()
{
    return {QStringLiteral("1;Recipient;vorname.nachname@example.com"), QStringLiteral("1;Subject;Beispielbetreff"),
            QStringLiteral("0;CC;"), QStringLiteral("0;BCC;"), QStringLiteral("1;Template;")};
}

void TActionSendEMail::AddInnerBaseAction(std::unique_ptr<TActionSendEMail> action)
{
    m_innerBaseActions.push_back(std::move(action));
}

std::unique_ptr<TActionSendEMail>
TActionSendEMail::ReplaceInnerBaseAction(const TActionSendEMail* old, std::unique_ptr<TActionSendEMail> replacement)
{
    for (auto& action : m_innerBaseActions) {
        if (action.get() == old) {
            std::swap(action, replacement);
            return replacement;
        }
    }
    return nullptr;
}

TActionSendEMail* TActionSendEMail::InnerBaseActionForField(int fieldID) const
{
    for (const auto& action : m_innerBaseActions) {
        if (action->FieldID() == fieldID)
            return action.get();
    }
    return nullptr;
}
