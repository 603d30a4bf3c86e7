// SPDX-License-Identifier: GPL-3.0-or-later

#include "trace/Trace.h"
#include "trace/TraceLine.h"
#include "trace/TraceObjectDump.h"

#include <QLocale>
#include <QMetaProperty>
#include <QObject>
#include <QSequentialIterable>
#include <QStringList>
#include <QVariant>

#include <charconv>
#include <memory>
#include <mutex>
#include <typeinfo>
#include <unordered_map>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Kept dumps of unchanged objects. Large enough for the rules of any real model; past
// it the dumps asked for least recently are dropped and rendered anew when needed.
constexpr qsizetype KeptDumpBytes = qsizetype {16} * 1024 * 1024;

QString ClassNameOf(const QObject* object)
{
    return object ? QString::fromLatin1(object->metaObject()->className()) : u"nil"_s;
}

bool IsObjectPointer(QMetaType type)
{
    return type.flags().testFlag(QMetaType::PointerToQObject);
}

// A list of objects shows how many there are and what they are, never their properties:
// a dump that followed links could run in circles.
QString ObjectListText(QSequentialIterable items)
{
    QStringList names;
    for (const QVariant& item : items)
        names.append(ClassNameOf(*static_cast<QObject* const*>(item.constData())));
    return QString::number(items.size()) + u" [" + names.join(u", "_s) + u']';
}

QString EnumText(const QMetaProperty& property, const QVariant& value)
{
    const QMetaEnum enumeration = property.enumerator();
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    if (!isNumber)
        return {};
    if (enumeration.isFlag())
        return QString::fromLatin1(enumeration.valueToKeys(number));
    return QString::fromLatin1(enumeration.valueToKey(number));
}

QString OtherText(QVariant value)
{
    const QMetaType type = value.metaType();
    if (IsObjectPointer(type))
        return ClassNameOf(*static_cast<QObject* const*>(value.constData()));
    // No type of Qt's own is a list of objects; asking whether it is one is slow.
    if (type.id() >= QMetaType::User && value.canView<QSequentialIterable>()) {
        const QSequentialIterable items = value.view<QSequentialIterable>();
        if (IsObjectPointer(items.metaContainer().valueMetaType()))
            return ObjectListText(items);
    }
    QString text;
    if (QMetaType::convert(type, value.constData(), QMetaType::fromType<QString>(), &text))
        return TraceCappedValue(text);
    return QString::fromLatin1(type.name());
}

void AppendNumber(QString& out, int number)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append(QLatin1StringView(digits, end - digits));
}

void AppendBool(QString& out, bool value)
{
    out += value ? u"True"_s : u"False"_s;
}

void AppendDouble(QString& out, double value)
{
    out += QString::number(value, 'g', QLocale::FloatingPointShortest);
}

void AppendStrings(QString& out, const QStringList& strings)
{
    out += u'[';
    for (qsizetype i = 0; i < strings.size(); ++i) {
        if (i > 0)
            out += u", "_s;
        out += TraceCappedValue(strings[i]);
    }
    out += u']';
}

void AppendVariant(QString& out, const QMetaProperty& property, const QVariant& value)
{
    if (!value.isValid())
        return;
    // Names say more than numbers, and a flag set is only readable as names.
    if (property.isEnumType()) {
        const QString text = EnumText(property, value);
        if (!text.isEmpty()) {
            out += text;
            return;
        }
    }
    const void* data = value.constData();
    switch (value.metaType().id()) {
    case QMetaType::QString:
        out += TraceCappedValue(*static_cast<const QString*>(data));
        return;
    case QMetaType::Bool:
        AppendBool(out, *static_cast<const bool*>(data));
        return;
    case QMetaType::Int:
        AppendNumber(out, *static_cast<const int*>(data));
        return;
    case QMetaType::Double:
        AppendDouble(out, *static_cast<const double*>(data));
        return;
    case QMetaType::QStringList:
        AppendStrings(out, *static_cast<const QStringList*>(data));
        return;
    default:
        out += OtherText(value);
        return;
    }
}

// Properties of the common types are read straight into a value of their type, sparing
// the QVariant that QMetaProperty::read makes.
template <typename T>
T Read(const QObject* object, int index)
{
    T value {};
    int status = -1;
    void* argv[] = {&value, nullptr, &status};
    QMetaObject::metacall(const_cast<QObject*>(object), QMetaObject::ReadProperty, index, argv);
    return value;
}

struct DumpedProperty
{
    QMetaProperty property;
    // "Name=", after a line break for all but the first.
    QString head;
    int index = 0;
    // The type when it is one read directly, else 0.
    int directType = 0;
};

struct ClassLayout
{
    std::vector<DumpedProperty> properties;
    std::atomic<qsizetype> longestText {0};
};

// QMetaProperty looks up enumerators by name when it is made; once per class is enough.
ClassLayout& LayoutOf(const QMetaObject* meta)
{
    // Never destroyed: destructors of other statics may still dump objects at exit.
    static auto* mutex = new std::mutex;
    static auto* layouts = new std::unordered_map<const QMetaObject*, std::unique_ptr<ClassLayout>>;
    const std::lock_guard lock(*mutex);
    std::unique_ptr<ClassLayout>& layout = (*layouts)[meta];
    if (layout)
        return *layout;
    layout = std::make_unique<ClassLayout>();
    const int ownOfQObject = QObject::staticMetaObject.propertyCount();
    for (int index = 0; index < meta->propertyCount(); ++index) {
        const QMetaProperty property = meta->property(index);
        if (!property.isReadable() || (index < ownOfQObject && qstrcmp(property.name(), "objectName") == 0))
            continue;
        DumpedProperty dumped {property, QString::fromLatin1(property.name()) + u'=', index, 0};
        if (!layout->properties.empty())
            dumped.head.prepend(u'\n');
        const int type = property.metaType().id();
        if (!property.isEnumType() &&
            (type == QMetaType::QString || type == QMetaType::Bool || type == QMetaType::Int ||
             type == QMetaType::Double || type == QMetaType::QStringList))
            dumped.directType = type;
        layout->properties.push_back(std::move(dumped));
    }
    return *layout;
}

QString RenderedText(const QObject* object)
{
    ClassLayout& layout = LayoutOf(object->metaObject());
    QString text;
    text.reserve(layout.longestText.load(std::memory_order_relaxed));
    for (const DumpedProperty& dumped : layout.properties) {
        text += dumped.head;
        switch (dumped.directType) {
        case QMetaType::QString:
            text += TraceCappedValue(Read<QString>(object, dumped.index));
            break;
        case QMetaType::Bool:
            AppendBool(text, Read<bool>(object, dumped.index));
            break;
        case QMetaType::Int:
            AppendNumber(text, Read<int>(object, dumped.index));
            break;
        case QMetaType::Double:
            AppendDouble(text, Read<double>(object, dumped.index));
            break;
        case QMetaType::QStringList:
            AppendStrings(text, Read<QStringList>(object, dumped.index));
            break;
        default:
            AppendVariant(text, dumped.property, dumped.property.read(object));
            break;
        }
    }
    if (text.size() > layout.longestText.load(std::memory_order_relaxed))
        layout.longestText.store(text.size(), std::memory_order_relaxed);
    return text;
}

qsizetype BytesOf(const TraceObjectDump& dump)
{
    return dump.text.size() * qsizetype(sizeof(QChar)) + dump.lines.size() + 64;
}

} // namespace

/**
 * @brief The dumps of unchanged objects, each in a slot whose number the object carries.
 *
 * Finding a dump then costs one look at its slot, not a search. A slot belongs to its
 * object until the object is destroyed or the slot is taken for another one; the owner
 * is checked on every look, so a stale slot number only means a miss.
 */
class TraceKeptDumps
{
public:
    bool Find(const TraceRevisioned* object, quint64 revision, TraceObjectDump& dump)
    {
        const quint32 number = object->m_keptSlot.load(std::memory_order_relaxed);
        if (number == 0)
            return false;
        const std::lock_guard lock(m_mutex);
        if (number > m_slots.size())
            return false;
        Slot& slot = m_slots[number - 1];
        if (slot.owner != object || slot.revision != revision)
            return false;
        m_used[number - 1] = true;
        // Both counts live far apart and are seldom in the cache: fetched together, not in turn.
        __builtin_prefetch(slot.dump.text.data_ptr().d_ptr(), 1);
        __builtin_prefetch(slot.dump.lines.data_ptr().d_ptr(), 1);
        dump = slot.dump;
        return true;
    }

    void Keep(const TraceRevisioned* object, quint64 revision, const TraceObjectDump& dump)
    {
        const qsizetype bytes = BytesOf(dump);
        const std::lock_guard lock(m_mutex);
        quint32 number = object->m_keptSlot.load(std::memory_order_relaxed);
        if (number == 0 || number > m_slots.size() || m_slots[number - 1].owner != object)
            number = TakeSlot();
        Slot& slot = m_slots[number - 1];
        m_bytes -= slot.bytes;
        slot = {object, revision, {}, 0};
        while (m_bytes + bytes > KeptDumpBytes) {
            if (!EvictOne(number)) {
                Release(number);
                return;
            }
        }
        slot.dump = dump;
        slot.bytes = bytes;
        m_bytes += bytes;
        m_used[number - 1] = true;
        object->m_keptSlot.store(number, std::memory_order_relaxed);
    }

    void Forget(const TraceRevisioned* object)
    {
        const quint32 number = object->m_keptSlot.load(std::memory_order_relaxed);
        if (number == 0)
            return;
        const std::lock_guard lock(m_mutex);
        if (number <= m_slots.size() && m_slots[number - 1].owner == object)
            Release(number);
    }

private:
    struct Slot
    {
        // Always a living object: it forgets its slot when it is destroyed.
        const TraceRevisioned* owner = nullptr;
        quint64 revision = 0;
        TraceObjectDump dump;
        qsizetype bytes = 0;
    };

    quint32 TakeSlot()
    {
        if (!m_free.empty()) {
            const quint32 number = m_free.back();
            m_free.pop_back();
            return number;
        }
        m_slots.emplace_back();
        m_used.push_back(false);
        return quint32(m_slots.size());
    }

    void Release(quint32 number)
    {
        Slot& slot = m_slots[number - 1];
        m_bytes -= slot.bytes;
        slot = {};
        m_used[number - 1] = false;
        m_free.push_back(number);
    }

    // A clock over the slots: one asked for since the hand last passed gets another round.
    bool EvictOne(quint32 spared)
    {
        for (std::size_t step = 0; step < 2 * m_slots.size(); ++step) {
            m_hand = (m_hand + 1) % m_slots.size();
            const quint32 number = quint32(m_hand + 1);
            if (number == spared || !m_slots[m_hand].owner)
                continue;
            if (m_used[m_hand]) {
                m_used[m_hand] = false;
                continue;
            }
            Release(number);
            return true;
        }
        return false;
    }

    std::mutex m_mutex;
    std::vector<Slot> m_slots;
    std::vector<bool> m_used;
    std::vector<quint32> m_free;
    std::size_t m_hand = 0;
    qsizetype m_bytes = 0;
};

namespace {

// A cast across the class tree compares type names, which shows with a dump per rule. Within
// one most-derived class both bases always lie the same distance apart, so the cast runs
// once per class and thread.
const TraceRevisioned* RevisionedOf(const QObject* object)
{
    struct LastClass
    {
        const std::type_info* type = nullptr;
        std::ptrdiff_t offset = 0;
        bool revisioned = false;
    };
    thread_local LastClass last;
    const std::type_info& type = typeid(*object);
    if (last.type != &type) {
        const auto* revisioned = dynamic_cast<const TraceRevisioned*>(object);
        last.type = &type;
        last.revisioned = revisioned != nullptr;
        last.offset =
            revisioned ? reinterpret_cast<const char*>(revisioned) - reinterpret_cast<const char*>(object) : 0;
    }
    if (!last.revisioned)
        return nullptr;
    return reinterpret_cast<const TraceRevisioned*>(reinterpret_cast<const char*>(object) + last.offset);
}

// Counts the changes of the trace's outputs; a dump written in an older generation may be gone.
std::atomic<quint64> g_generation {1};

TraceKeptDumps& Kept()
{
    // Never destroyed: objects may be destroyed after the statics at exit.
    static auto* kept = new TraceKeptDumps;
    return *kept;
}

} // namespace

TraceRevisioned::~TraceRevisioned()
{
    Kept().Forget(this);
}

quint64 TraceRevisioned::NextRevision()
{
    // Each thread takes its revisions from a block of its own: one atomic step
    // per change of any field would be the dearest part of loading a large model.
    constexpr quint64 BlockSize = 4096;
    static std::atomic<quint64> blocks {0};
    thread_local quint64 next = 0;
    thread_local quint64 end = 0;
    if (next == end) {
        next = blocks.fetch_add(BlockSize, std::memory_order_relaxed) + 1;
        end = next + BlockSize;
    }
    return next++;
}

QString TraceObjectText(const QObject* object)
{
    return object ? RenderedText(object) : u"nil"_s;
}

TraceObjectDump TraceObjectDumpOf(const QObject* object)
{
    if (!object)
        return {u"nil"_s, TraceValueLines(u"nil")};
    const TraceRevisioned* revisioned = RevisionedOf(object);
    const quint64 revision = revisioned ? revisioned->TraceRevision() : 0;
    TraceObjectDump dump;
    if (revision != 0 && Kept().Find(revisioned, revision, dump)) {
        Q_ASSERT_X(dump.text == RenderedText(object), "TraceObjectDumpOf",
                   "a kept dump differs from its object: a change took no new revision");
        return dump;
    }
    dump.text = RenderedText(object);
    dump.lines = TraceValueLines(dump.text);
    if (revision != 0)
        Kept().Keep(revisioned, revision, dump);
    return dump;
}

bool TraceDumpWrittenBefore(const QObject* object)
{
    if (!object)
        return false;
    const TraceRevisioned* revisioned = RevisionedOf(object);
    const quint64 revision = revisioned ? revisioned->TraceRevision() : 0;
    if (revision == 0)
        return false;
    const quint64 generation = g_generation.load(std::memory_order_relaxed);
    if (revisioned->m_writtenRevision.load(std::memory_order_relaxed) == revision &&
        revisioned->m_writtenGeneration.load(std::memory_order_relaxed) == generation)
        return true;
    revisioned->m_writtenRevision.store(revision, std::memory_order_relaxed);
    revisioned->m_writtenGeneration.store(generation, std::memory_order_relaxed);
    return false;
}

void TraceStartNewGeneration()
{
    g_generation.fetch_add(1, std::memory_order_relaxed);
}
