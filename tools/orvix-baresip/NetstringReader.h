// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

/**
 * @brief Cuts a byte stream into netstrings ("<length>:<payload>,"), as baresip's control socket frames its JSON.
 *
 * A read may end inside a frame or hold several; the reader keeps the rest
 * for the next one. A malformed frame (a bad length, a missing comma) is
 * reported and skipped up to where the next frame starts, so one broken frame
 * costs that frame only. Whitespace between frames is allowed.
 */
class NetstringReader
{
public:
    // Far more than any event or response of baresip; a longer length means the stream is out of step.
    static constexpr qsizetype MaxFrameLength = 1 << 20;

    struct Result
    {
        QList<QByteArray> frames;
        QStringList errors;
    };

    Result feed(const QByteArray& data);
    static QByteArray encode(const QByteArray& payload);

private:
    // Drops the broken frame at the front, up to where the next frame starts.
    void resynchronise();

    QByteArray m_buffer;
};
