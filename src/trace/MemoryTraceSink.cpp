// SPDX-License-Identifier: GPL-3.0-or-later

#include "trace/MemoryTraceSink.h"

void MemoryTraceSink::Write(const TraceEntry& entry)
{
    const std::lock_guard lock(m_mutex);
    m_entries.push_back(entry);
}

void MemoryTraceSink::Clear()
{
    const std::lock_guard lock(m_mutex);
    m_entries.clear();
}

std::vector<TraceEntry> MemoryTraceSink::Entries() const
{
    const std::lock_guard lock(m_mutex);
    return m_entries;
}

QStringList MemoryTraceSink::Titles() const
{
    const std::lock_guard lock(m_mutex);
    QStringList titles;
    titles.reserve(qsizetype(m_entries.size()));
    for (const TraceEntry& entry : m_entries)
        titles.append(entry.title);
    return titles;
}
