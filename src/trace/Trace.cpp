// SPDX-License-Identifier: GPL-3.0-or-later

#include "trace/Trace.h"

#include "trace/FileTraceSink.h"
#include "trace/PipeTraceSink.h"
#include "trace/TraceConnections.h"
#include "trace/TraceObjectDump.h"

#include <QDateTime>
#include <QDebug>
#include <QScopedValueRollback>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <mutex>
#include <type_traits>
#include <typeinfo>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct SinkSlot
{
    std::shared_ptr<TraceSink> sink;
    bool configured = false;
    // Set after a failure was reported, so that a broken sink reports once, not per entry.
    bool failing = false;
};

// Titles are mostly literals: the same texts at the same addresses, entry after entry.
// Their QString is made once and lent to each entry while the sinks write it, so that an
// entry costs neither a conversion nor the two atomic steps of a copy's count. The bytes are
// compared too, so that another text at a reused address is never taken for the kept one.
class TitleTexts
{
public:
    void Lend(QAnyStringView title, QString& to)
    {
        m_lent = nullptr;
        title.visit([this, title, &to](auto view) {
            if constexpr (std::is_same_v<decltype(view), QStringView>) {
                to = view.toString();
            } else {
                m_lent = &Find(view.data(), std::size_t(view.size()), std::is_same_v<decltype(view), QUtf8StringView>,
                               title);
                to = std::move(m_lent->text);
            }
        });
    }

    // A sink that kept the title holds a copy of its own.
    void TakeBack(QString& from)
    {
        if (m_lent)
            m_lent->text = std::move(from);
        m_lent = nullptr;
    }

private:
    struct Kept
    {
        const void* address = nullptr;
        bool utf8 = false;
        QByteArray bytes;
        QString text;
    };

    Kept& Find(const char* data, std::size_t size, bool utf8, QAnyStringView title)
    {
        const auto address = reinterpret_cast<quintptr>(data);
        Kept& kept = m_kept[(address ^ (address >> 10)) % m_kept.size()];
        if (kept.address != data || kept.utf8 != utf8 || std::size_t(kept.bytes.size()) != size ||
            std::memcmp(kept.bytes.constData(), data, size) != 0) {
            kept.address = data;
            kept.utf8 = utf8;
            kept.bytes = QByteArray(data, qsizetype(size));
            kept.text = title.toString();
        }
        return kept;
    }

    std::array<Kept, 256> m_kept;
    Kept* m_lent = nullptr;
};

struct TraceState
{
    std::mutex mutex;
    std::vector<SinkSlot> sinks;
    QString applicationName;
    TitleTexts titles;
};

std::atomic<bool> g_enabled {false};
std::atomic<int> g_level {int(TraceLevel::Debug)};
std::atomic<int> g_sinkCount {0};
// Set at exit: from then on every entry is flushed at once, as nothing flushes later.
std::atomic<bool> g_flushEachEntry {false};

// A sink or a message handler that traces while being written to would deadlock on the lock.
thread_local bool t_dispatching = false;

void FlushAtExit();

// Never destroyed: entries may still come from destructors of other statics at exit.
TraceState& State()
{
    static TraceState* state = [] {
        std::atexit(FlushAtExit);
        return new TraceState;
    }();
    return *state;
}

void UpdateSinkCount(const TraceState& state)
{
    g_sinkCount.store(int(state.sinks.size()), std::memory_order_relaxed);
}

bool ShouldWrite(TraceLevel level)
{
    return Trace::IsOn(level) && g_sinkCount.load(std::memory_order_relaxed) > 0;
}

// Takes the matching sinks out, so that the caller destroys them after the lock is released.
template <typename Predicate>
std::vector<SinkSlot> TakeSinks(TraceState& state, Predicate matches)
{
    std::vector<SinkSlot> taken;
    auto keep = state.sinks.begin();
    for (auto slot = state.sinks.begin(); slot != state.sinks.end(); ++slot) {
        if (matches(*slot))
            taken.push_back(std::move(*slot));
        else
            *keep++ = std::move(*slot);
    }
    state.sinks.erase(keep, state.sinks.end());
    UpdateSinkCount(state);
    return taken;
}

// prepare runs first under the lock, finish last.
template <typename Prepare, typename Action, typename Finish>
void Dispatch(Prepare prepare, Action action, Finish finish)
{
    if (t_dispatching)
        return;
    const QScopedValueRollback dispatching(t_dispatching, true);
    QStringList failures;
    {
        TraceState& state = State();
        const std::lock_guard lock(state.mutex);
        prepare(state);
        for (SinkSlot& slot : state.sinks) {
            try {
                action(*slot.sink);
                slot.failing = false;
            } catch (const std::exception& error) {
                if (!slot.failing)
                    failures.append(QString::fromUtf8(error.what()));
                slot.failing = true;
            }
        }
        finish(state);
    }
    // Reported outside the lock, and still marked as dispatching, in case the message handler traces.
    for (const QString& failure : failures)
        qWarning().noquote() << "Trace output failed:" << failure;
}

template <typename Action>
void Dispatch(Action action)
{
    Dispatch([](TraceState&) {}, action, [](TraceState&) {});
}

// The value moves into the entry: a copy would cost two atomic steps of its count per entry.
void Write(TraceKind kind, TraceLevel level, QAnyStringView title, QString value = {}, QByteArray valueLines = {})
{
    TraceEntry entry {QDateTime::currentMSecsSinceEpoch(), level, kind, {}, std::move(value), std::move(valueLines)};
    const auto lend = [&entry, title](TraceState& state) { state.titles.Lend(title, entry.title); };
    const auto takeBack = [&entry](TraceState& state) { state.titles.TakeBack(entry.title); };
    if (g_flushEachEntry.load(std::memory_order_relaxed)) {
        Dispatch(
            lend,
            [&entry](TraceSink& sink) {
                sink.Write(entry);
                sink.Flush();
            },
            takeBack);
        return;
    }
    Dispatch(
        lend, [&entry](TraceSink& sink) { sink.Write(entry); }, takeBack);
}

void FlushAtExit()
{
    g_flushEachEntry.store(true, std::memory_order_relaxed);
    Trace::Flush();
}

std::shared_ptr<TraceSink> CreateSink(const TraceConnection& connection, const QString& applicationName)
{
    const QMap<QString, QString>& options = connection.options;
    if (connection.protocol == u"file"_s) {
        const qint64 maxBytes = options.contains(u"maxsize"_s) ? TraceOptionSizeBytes(options.value(u"maxsize"_s)) : 0;
        const bool append = options.contains(u"append"_s) && TraceOptionBool(options.value(u"append"_s));
        return std::make_shared<FileTraceSink>(options.value(u"filename"_s), maxBytes, append);
    }
    if (connection.protocol == u"pipe"_s) {
        const QString name = options.value(u"pipename"_s, PipeTraceSink::NameOf(applicationName));
        if (name.isEmpty())
            throw ETraceConfiguration(
                u"Trace pipe: no pipe name, and the application name \"%1\" gives none"_s.arg(applicationName));
        const bool reconnect = options.contains(u"reconnect"_s) && TraceOptionBool(options.value(u"reconnect"_s));
        const auto interval = options.contains(u"reconnect.interval"_s)
            ? TraceOptionSeconds(options.value(u"reconnect.interval"_s))
            : std::chrono::milliseconds(0);
        return std::make_shared<PipeTraceSink>(name, reconnect, interval);
    }
    throw ETraceConfiguration(u"Trace connections: unknown protocol \"%1\""_s.arg(connection.protocol));
}

QString ExceptionClassName(const std::exception& error)
{
    const char* mangled = typeid(error).name();
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                                &std::free);
    return QString::fromUtf8(status == 0 && demangled ? demangled.get() : mangled);
}

} // namespace

void Trace::Configure(const QString& applicationName, const QString& connections)
{
    std::vector<std::shared_ptr<TraceSink>> created;
    for (const TraceConnection& connection : ParseTraceConnections(connections))
        created.push_back(CreateSink(connection, applicationName));

    std::vector<SinkSlot> replaced;
    {
        TraceState& state = State();
        const std::lock_guard lock(state.mutex);
        replaced = TakeSinks(state, [](const SinkSlot& slot) { return slot.configured; });
        for (std::shared_ptr<TraceSink>& sink : created)
            state.sinks.push_back({std::move(sink), true});
        state.applicationName = applicationName;
        UpdateSinkCount(state);
    }
    TraceStartNewGeneration();
    // The old sinks close their files and sockets here, outside the lock.
}

void Trace::AddSink(std::shared_ptr<TraceSink> sink)
{
    if (!sink)
        return;
    TraceState& state = State();
    const std::lock_guard lock(state.mutex);
    state.sinks.push_back({std::move(sink)});
    UpdateSinkCount(state);
    TraceStartNewGeneration();
}

void Trace::RemoveSink(const std::shared_ptr<TraceSink>& sink)
{
    std::vector<SinkSlot> removed;
    TraceState& state = State();
    const std::lock_guard lock(state.mutex);
    removed = TakeSinks(state, [&sink](const SinkSlot& slot) { return slot.sink == sink; });
}

void Trace::RemoveAllSinks()
{
    std::vector<SinkSlot> removed;
    {
        TraceState& state = State();
        const std::lock_guard lock(state.mutex);
        removed = TakeSinks(state, [](const SinkSlot&) { return true; });
    }
}

void Trace::SetEnabled(bool enabled)
{
    g_enabled.store(enabled, std::memory_order_relaxed);
}

void Trace::SetLevel(TraceLevel level)
{
    g_level.store(int(level), std::memory_order_relaxed);
}

bool Trace::IsOn(TraceLevel level)
{
    return g_enabled.load(std::memory_order_relaxed) && int(level) >= g_level.load(std::memory_order_relaxed);
}

QString Trace::ApplicationName()
{
    TraceState& state = State();
    const std::lock_guard lock(state.mutex);
    return state.applicationName;
}

void Trace::Clear()
{
    TraceStartNewGeneration();
    Dispatch([](TraceSink& sink) { sink.Clear(); });
}

void Trace::Flush()
{
    Dispatch([](TraceSink& sink) { sink.Flush(); });
}

void Trace::Message(QAnyStringView title)
{
    if (ShouldWrite(TraceLevel::Debug))
        Write(TraceKind::Message, TraceLevel::Debug, title);
}

void Trace::Value(QAnyStringView title, const QString& value)
{
    if (ShouldWrite(TraceLevel::Debug))
        Write(TraceKind::Value, TraceLevel::Debug, title, TraceCappedValue(value));
}

void Trace::Value(QAnyStringView title, const char* value)
{
    if (ShouldWrite(TraceLevel::Debug))
        Write(TraceKind::Value, TraceLevel::Debug, title,
              value ? TraceCappedValue(QString::fromUtf8(value)) : u"nil"_s);
}

void Trace::Value(QAnyStringView title, qint64 value)
{
    if (ShouldWrite(TraceLevel::Debug))
        Write(TraceKind::Value, TraceLevel::Debug, title, QString::number(value));
}

void Trace::Value(QAnyStringView title, bool value)
{
    if (ShouldWrite(TraceLevel::Debug))
        Write(TraceKind::Value, TraceLevel::Debug, title, value ? u"True"_s : u"False"_s);
}

void Trace::Value(QAnyStringView title, double value)
{
    if (ShouldWrite(TraceLevel::Debug))
        Write(TraceKind::Value, TraceLevel::Debug, title, QString::number(value, 'g', QLocale::FloatingPointShortest));
}

void Trace::Object(QAnyStringView title, const QObject* object)
{
    if (!ShouldWrite(TraceLevel::Debug))
        return;
    TraceObjectDump dump = TraceObjectDumpOf(object);
    Write(TraceKind::Object, TraceLevel::Debug, title, std::move(dump.text), std::move(dump.lines));
}

void Trace::ObjectOnce(QAnyStringView title, const QObject* object, const QString& name, QStringView remark)
{
    if (!ShouldWrite(TraceLevel::Debug))
        return;
    if (!TraceDumpWrittenBefore(object)) {
        Object(title, object);
        return;
    }
    // Made in one allocation: this line is written for every rule at every call state.
    QString reference;
    if (name.size() > MaxValueLength) {
        reference = TraceCappedValue(name);
    } else {
        reference.reserve(name.size() + remark.size());
        reference.append(name);
    }
    reference.append(remark);
    Write(TraceKind::Value, TraceLevel::Debug, title, std::move(reference));
}

void Trace::Strings(QAnyStringView title, const QStringList& strings)
{
    if (!ShouldWrite(TraceLevel::Debug))
        return;
    const bool tooLong =
        std::any_of(strings.cbegin(), strings.cend(), [](const QString& text) { return text.size() > MaxValueLength; });
    if (!tooLong) {
        Write(TraceKind::Strings, TraceLevel::Debug, title, strings.join(u'\n'));
        return;
    }
    QStringList capped;
    capped.reserve(strings.size());
    for (const QString& text : strings)
        capped.append(TraceCappedValue(text));
    Write(TraceKind::Strings, TraceLevel::Debug, title, capped.join(u'\n'));
}

void Trace::Warning(QAnyStringView title, const QString& detail)
{
    if (ShouldWrite(TraceLevel::Warning))
        Write(TraceKind::Warning, TraceLevel::Warning, title, TraceCappedValue(detail));
}

void Trace::Error(QAnyStringView title, const QString& detail)
{
    if (ShouldWrite(TraceLevel::Error))
        Write(TraceKind::Error, TraceLevel::Error, title, TraceCappedValue(detail));
}

void Trace::Exception(QAnyStringView title, const std::exception& error)
{
    if (ShouldWrite(TraceLevel::Error))
        Write(TraceKind::Exception, TraceLevel::Error, title,
              ExceptionClassName(error) + u": " + TraceCappedValue(QString::fromUtf8(error.what())));
}

void Trace::Separator()
{
    if (ShouldWrite(TraceLevel::Debug))
        Write(TraceKind::Separator, TraceLevel::Debug, u"");
}

void Trace::EnterMethod(QAnyStringView name)
{
    if (ShouldWrite(TraceLevel::Debug))
        Write(TraceKind::EnterMethod, TraceLevel::Debug, name);
}

void Trace::LeaveMethod(QAnyStringView name)
{
    if (ShouldWrite(TraceLevel::Debug))
        Write(TraceKind::LeaveMethod, TraceLevel::Debug, name);
}

QString TraceCappedValue(const QString& value)
{
    if (value.size() <= Trace::MaxValueLength)
        return value;
    qsizetype kept = Trace::MaxValueLength;
    // A character outside the BMP is kept whole or not at all.
    if (value.at(kept - 1).isHighSurrogate())
        --kept;
    return value.left(kept) + u"... ("_s + QString::number(value.size()) + u" characters)"_s;
}

TraceMethod::TraceMethod(QString name)
    : m_name(std::move(name))
{
    Trace::EnterMethod(m_name);
}

TraceMethod::~TraceMethod()
{
    Trace::LeaveMethod(m_name);
}
