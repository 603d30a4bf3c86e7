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
