// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <vector>

/**
 * @brief Which of baresip's calls (by SIP Call-ID) is on which line, and whether we hung it up ourselves.
 */
class LineCalls
{
public:
    explicit LineCalls(int lineCount)
        : m_lines(static_cast<size_t>(lineCount))
    {
    }

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    // -1 when the call is on no line.
    int lineOf(const QString& callId) const;
    // Empty when the line has no call of baresip.
    QString callIdOn(int lineIndex) const;
    bool isFree(int lineIndex) const { return callIdOn(lineIndex).isEmpty(); }
    void bind(int lineIndex, const QString& callId);
    void release(int lineIndex);
    void markHungUpHere(int lineIndex);
    bool hungUpHere(int lineIndex) const;

private:
    struct Entry
    {
        QString callId;
        bool hungUpHere = false;
    };

    std::vector<Entry> m_lines;
};
