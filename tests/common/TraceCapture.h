// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "trace/MemoryTraceSink.h"
#include "trace/Trace.h"

#include <QStringList>

#include <memory>

// Switches the trace on at Debug into a memory sink for the lifetime of the
// object, so that a test can see which entries a step wrote.
class TraceCapture
{
public:
    TraceCapture()
    {
        Trace::SetLevel(TraceLevel::Debug);
        Trace::SetEnabled(true);
        Trace::AddSink(m_sink);
    }

    ~TraceCapture()
    {
        Trace::RemoveSink(m_sink);
        Trace::SetEnabled(false);
    }

    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    QStringList Titles() const { return m_sink->Titles(); }
    int Count(const QString& title) const { return int(m_sink->Titles().count(title)); }
    bool Has(const QString& title) const { return Count(title) > 0; }
    // The value of the last entry with that title, or a null string.
    QString LastValue(const QString& title) const
    {
        const auto entries = m_sink->Entries();
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            if (it->title == title)
                return it->value;
        }
        return {};
    }
    void Clear() { m_sink->Clear(); }

private:
    std::shared_ptr<MemoryTraceSink> m_sink = std::make_shared<MemoryTraceSink>();
};
