// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

class QObject;

struct TraceObjectDump
{
    QString text;
    // The text as TraceValueLines renders it.
    QByteArray lines;
};

// What Trace::Object writes. The dump of a TraceRevisioned object is kept and handed out
// again while its revision stays the same.
TraceObjectDump TraceObjectDumpOf(const QObject* object);

// Whether ObjectOnce already wrote this revision of the object's dump to the current outputs;
// marks it written when not. Objects without a revision are never taken as written.
bool TraceDumpWrittenBefore(const QObject* object);
// The outputs changed (a new sink, a new file part, a reader connected, the trace cleared):
// dumps written before may not be there, so each object is dumped in full once more.
void TraceStartNewGeneration();
