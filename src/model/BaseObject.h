// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "trace/Trace.h"

#include <QObject>

#include <atomic>
#include <memory>

class TOrvixLine;

/**
 * @brief Root of the rule model: rules, sequences, actions, parameters and the line object.
 *
 * Every model object works on a call snapshot (OrvixLine) that the engine hands
 * down before it runs the object; the snapshot is shared by all its holders.
 *
 * Assign/AssignTo copy the writable Q_PROPERTYs of the source's class into the
 * destination, by name: "ID" is never copied, read-only properties are skipped,
 * lists of object references copy the references, string lists their content;
 * objects held in fields that are not properties stay as they are.
 *
 * Every change of a property value takes a new revision (MarkChanged), which
 * lets the trace keep the object's dump until it changes.
 */
class TBaseObject : public QObject, public TraceRevisioned
{
    Q_OBJECT

public:
    TBaseObject();
    ~TBaseObject() override;

    std::shared_ptr<TOrvixLine> OrvixLine() const;
    void SetOrvixLine(std::shared_ptr<TOrvixLine> line);

    // this.Assign(Source) is Source.AssignTo(this).
    void Assign(const TBaseObject* source);
    virtual void AssignTo(TBaseObject* dest) const;

    quint64 TraceRevision() const override { return m_revision.load(std::memory_order_relaxed); }
    void MarkChanged() { m_revision.store(NextRevision(), std::memory_order_relaxed); }

protected:
    // List objects are never without a line object: they make a blank one on
    // first use. Made lazily because loaders replace it at once.
    void GiveBlankLineOnDemand() { m_blankLineOnDemand = true; }

private:
    std::atomic<quint64> m_revision {NextRevision()};
    mutable std::shared_ptr<TOrvixLine> m_orvixLine;
    bool m_blankLineOnDemand = false;
};
