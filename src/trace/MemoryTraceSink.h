// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "trace/Trace.h"

#include <QStringList>

#include <mutex>
#include <vector>

/**
 * @brief Keeps every entry in memory, so that tests can see what the program traced.
 *
 * The accessors may be called from any thread while the trace writes.
 */
class MemoryTraceSink final : public TraceSink
{
public:
    void Write(const TraceEntry& entry) override;
    void Clear() override;

    std::vector<TraceEntry> Entries() const;
    QStringList Titles() const;

private:
    mutable std::mutex m_mutex;
    std::vector<TraceEntry> m_entries;
};
