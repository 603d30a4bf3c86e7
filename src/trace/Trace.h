// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/KestrunError.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <exception>
#include <memory>

class QObject;

// A connections text the trace cannot read, or an output it cannot open.
class ETraceConfiguration : public EKestrunError
{
public:
    using EKestrunError::EKestrunError;
};

// A sink that failed to write or clear; the trace reports it and goes on.
class ETraceOutput : public EKestrunError
{
public:
    using EKestrunError::EKestrunError;
};

enum class TraceLevel
{
    Debug,
    Verbose,
    Message,
    Warning,
    Error,
    Fatal
};

enum class TraceKind
{
    Message,
    Value,
    Object,
    Strings,
    Warning,
    Error,
    Exception,
    EnterMethod,
    LeaveMethod,
    Separator,
    Clear
};

/**
 * @brief One entry of the diagnostic trace, already rendered to text.
 *
 * Titles follow "Unit::Function:Text"; the value holds the rendered value of a
 * title and value pair, an object dump or a string list, and is empty for plain
 * messages.
 */
struct TraceEntry
{
    qint64 msecsSinceEpoch = 0;
    TraceLevel level = TraceLevel::Debug;
    TraceKind kind = TraceKind::Message;
    QString title;
    QString value;
    // The value's lines as text outputs write them (TraceValueLines), when they were kept
    // with the value; empty means they are rendered from the value.
    QByteArray valueLines {};
};

/**
 * @brief Destination of trace entries (file, pipe, memory).
 *
 * Write() is called with the trace's lock held, so a sink need not lock for
 * itself against other writers of the same trace.
 */
class TraceSink
{
public:
    virtual ~TraceSink() = default;
    virtual void Write(const TraceEntry& entry) = 0;
    // Forget everything written so far (the trace is cleared at each start).
    virtual void Clear() = 0;
    // Hand every entry written so far on to its destination; for sinks that hold entries back.
    virtual void Flush() { }
};

/**
 * @brief The process-wide diagnostic trace every unit writes to.
 *
 * Entries are cheap when the trace is off or below its level: IsOn() is checked
 * before anything is rendered, so object dumps and lists cost nothing then.
 * Safe to call from any thread.
 */
class Trace
{
public:
    // Longer values (of a caller, a directory answer ...) are cut to their start and their length,
    // so that one hostile value cannot flood the trace and push its history out of the file.
    static constexpr qsizetype MaxValueLength = 4096;

    // Replaces the sinks by those of a connections text such as
    // file(filename="/tmp/x.sil", maxsize=20480, append=true), pipe(reconnect=true, reconnect.interval=10)
    // Throws ETraceConfiguration on a text it cannot read; the sinks stay as they were then.
    // Only the sinks of the previous Configure are replaced: those given to AddSink stay.
    // It does not switch the trace on; SetEnabled does.
    static void Configure(const QString& applicationName, const QString& connections);
    static void AddSink(std::shared_ptr<TraceSink> sink);
    static void RemoveSink(const std::shared_ptr<TraceSink>& sink);
    static void RemoveAllSinks();

    static void SetEnabled(bool enabled);
    static void SetLevel(TraceLevel level);
    static bool IsOn(TraceLevel level);
    static QString ApplicationName();

    // Empties every sink: the trace starts afresh with each program start. Done even while the
    // trace is off, so that an old trace does not pass for the current one.
    static void Clear();
    // Entries reach a file a moment after they were written (warnings and worse at once);
    // this waits until every entry written so far is there. Done at exit too.
    static void Flush();

    static void Message(QAnyStringView title);
    static void Value(QAnyStringView title, const QString& value);
    static void Value(QAnyStringView title, const char* value);
    static void Value(QAnyStringView title, qint64 value);
    static void Value(QAnyStringView title, int value) { Value(title, qint64(value)); }
    static void Value(QAnyStringView title, bool value);
    static void Value(QAnyStringView title, double value);
    template <typename T>
    static void Value(QAnyStringView title, const T* value) = delete; // a pointer would silently become a Boolean
    // Dumps the object's properties, one "Name=Value" line each.
    static void Object(QAnyStringView title, const QObject* object);
    // The dump of an object traced again and again while it stays the same (every rule at every
    // call state): written in full the first time and after each change, and again whenever the
    // trace starts a new file part or gets a new output, else only `name` followed by `remark`
    // (say " (unchanged)"), joined only when that line is written.
    static void ObjectOnce(QAnyStringView title, const QObject* object, const QString& name, QStringView remark = {});
    static void Strings(QAnyStringView title, const QStringList& strings);
    static void Warning(QAnyStringView title, const QString& detail = {});
    static void Error(QAnyStringView title, const QString& detail = {});
    static void Exception(QAnyStringView title, const std::exception& error);
    static void Separator();

    static void EnterMethod(QAnyStringView name);
    static void LeaveMethod(QAnyStringView name);
};

/**
 * @brief Writes the enter mark of a method now and its leave mark when the scope ends.
 */
class TraceMethod
{
public:
    explicit TraceMethod(QString name);
    ~TraceMethod();
    TraceMethod(const TraceMethod&) = delete;
    TraceMethod& operator=(const TraceMethod&) = delete;

private:
    QString m_name;
};

/**
 * @brief An object that tells the trace when its properties changed.
 *
 * Trace::Object keeps the dump of such an object and renders it again only when
 * its revision differs. A revision comes from NextRevision(), so it is unique
 * across all objects and a new object at a freed address never matches an old
 * dump; every change of a property value, computed ones included, takes a new one.
 * An object whose dump depends on more than its own fields returns 0: never kept.
 */
class TraceRevisioned
{
public:
    virtual quint64 TraceRevision() const = 0;
    static quint64 NextRevision();

protected:
    TraceRevisioned() = default;
    // Drops the kept dump.
    virtual ~TraceRevisioned();

private:
    friend class TraceKeptDumps;
    friend bool TraceDumpWrittenBefore(const QObject* object);
    // Where the trace keeps this object's dump, counted from 1; 0 for nowhere.
    mutable std::atomic<quint32> m_keptSlot {0};
    // The revision whose dump ObjectOnce wrote, and in which of the trace's generations.
    mutable std::atomic<quint64> m_writtenRevision {0};
    mutable std::atomic<quint64> m_writtenGeneration {0};
};

// Renders every property of an object as "Name=Value" lines; what Trace::Object writes.
QString TraceObjectText(const QObject* object);

// The value as the trace keeps it: past Trace::MaxValueLength its start followed by
// "... (N characters)" with its whole length.
QString TraceCappedValue(const QString& value);
