// SPDX-License-Identifier: GPL-3.0-or-later

#include "LineCalls.h"

int LineCalls::lineOf(const QString& callId) const
{
    if (callId.isEmpty())
        return -1;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].callId == callId)
            return static_cast<int>(i);
    }
    return -1;
}

QString LineCalls::callIdOn(int lineIndex) const
{
    if (lineIndex < 0 || lineIndex >= lineCount())
        return {};
    return m_lines[static_cast<size_t>(lineIndex)].callId;
}

void LineCalls::bind(int lineIndex, const QString& callId)
{
    m_lines.at(static_cast<size_t>(lineIndex)) = {callId, false};
}

void LineCalls::release(int lineIndex)
{
    m_lines.at(static_cast<size_t>(lineIndex)) = {};
}

void LineCalls::markHungUpHere(int lineIndex)
{
    m_lines.at(static_cast<size_t>(lineIndex)).hungUpHere = true;
}

bool LineCalls::hungUpHere(int lineIndex) const
{
    return m_lines.at(static_cast<size_t>(lineIndex)).hungUpHere;
}
