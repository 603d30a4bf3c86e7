// SPDX-License-Identifier: GPL-3.0-or-later

#include "rulesfile/Parameters.h"

#include "actions/ActionBaseMessage.h"
#include "actions/ActionSendEMail.h"
#include "model/ActionSequence.h"
#include "model/BaseParameter.h"
#include "model/Guid.h"
#include "model/XmlRecord.h"
#include "rulesfile/RecordRoundTrip.h"

namespace {

void GiveNewIDs(TBaseAction* action)
{
    action->SetID(NewGuidString());
    for (TBaseObject* item : action->MainList()) {
        if (auto* parameter = qobject_cast<TBaseParameter*>(item))
            parameter->SetID(NewGuidString());
    }
    if (auto* mail = qobject_cast<TActionSendEMail*>(action)) {
        for (const auto& inner : mail->InnerBaseActions())
            GiveNewIDs(inner.get());
    }
}

} // namespace

std::unique_ptr<TActionSequence> TParameters::CopyActionSequence(const TActionSequence& source)
{
    std::unique_ptr<TActionSequence> copy = ThroughRecord(
        "ActionSequence", [&](TXmlRecordWriter& record) { WriteActionSequence(record, &source); },
        [&](const TXmlRecordReader& record) { return LoadSequence(record); });
    copy->SetID(NewGuidString());
    copy->SetName(GetNewActionSequenceName(source.Name()));
    for (int i = 0; i < copy->Count(); ++i) {
        if (TBaseAction* action = copy->Action(i))
            GiveNewIDs(action);
    }
    return copy;
}

QList<TActionBaseMessage*> TParameters::MessagesOfferingActionSequence(const TActionSequence& sequence) const
{
    QList<TActionBaseMessage*> messages;
    for (TBaseObject* item : m_actionSequences.MainList()) {
        const auto* other = qobject_cast<const TActionSequence*>(item);
        // The sequence's own messages go with it.
        if (!other || other == &sequence)
            continue;
        for (TBaseObject* actionItem : other->MainList()) {
            auto* message = qobject_cast<TActionBaseMessage*>(actionItem);
            if (message && message->AssociatedActionSequences().contains(sequence.ID()))
                messages.append(message);
        }
    }
    return messages;
}

void TParameters::DeleteActionSequence(TActionSequence* sequence)
{
    if (m_actionSequences.GetIndex(sequence) < 0)
        return;
    for (TActionBaseMessage* message : MessagesOfferingActionSequence(*sequence)) {
        QStringList ids = message->AssociatedActionSequences();
        ids.removeAll(sequence->ID());
        message->SetAssociatedActionSequences(ids);
    }
    DropLinksTo({sequence});
    m_actionSequences.RemoveItem(sequence);
    if (m_actionSequences.FreeObjects())
        delete sequence;
}
