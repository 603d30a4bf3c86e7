// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/XmlNavigation.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <pugixml.hpp>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The value encodings of rules files: Booleans as "True"/"False", integers in
// decimal, texts as element text, lists as lines each ended by CR LF.

// The text of an element: its text children, or all text below it when it has
// more than one. Points into the document, or into storage when pieces were joined.
std::string_view ElementText(pugi::xml_node node, std::string& storage);

bool ReadBoolean(pugi::xml_node node);
// -1 for a missing element or text that is not a whole number in range.
int ReadInteger(pugi::xml_node node);
QString ReadText(pugi::xml_node node);
// Split at CR, LF or CR LF; a break at the very end starts no further line.
QStringList ReadLines(pugi::xml_node node);

void WriteText(pugi::xml_node node, const QString& value);

// The first child element whose name equals the name ignoring the case of ASCII letters.
pugi::xml_node FirstChildIgnoringCase(pugi::xml_node parent, const char* name);

// FNV-1a over the bytes with the case bit cleared: the same for every spelling of
// a name in capitals or small letters, as TChildIndex needs. TTextPool uses it as
// well: it compares its texts byte for byte, so the folding costs it no more than
// a slot that "Wert" and "WERT" would share.
constexpr std::uint32_t NameHashStart = 2166136261u;
constexpr std::uint32_t NameHashStep(std::uint32_t hash, char c)
{
    return (hash ^ std::uint8_t(c & 0xDF)) * 16777619u;
}

constexpr std::uint32_t NameHash(std::string_view name)
{
    std::uint32_t hash = NameHashStart;
    for (const char c : name)
        hash = NameHashStep(hash, c);
    return hash;
}

// The hash of a name ended by a NUL, and its length, in one walk over it.
inline std::uint32_t NameHash(const char* name, std::size_t& length)
{
    std::uint32_t hash = NameHashStart;
    for (length = 0; name[length] != '\0'; ++length)
        hash = NameHashStep(hash, name[length]);
    return hash;
}

/**
 * @brief The name of a field of a record, or a "."-separated path to one, with
 * the hash of its first name worked out by the compiler. Made from string
 * literals only.
 */
class TFieldName
{
public:
    consteval TFieldName(const char* path)
        : m_path(path)
    {
        while (path[m_length] != '\0')
            ++m_length;
        while (m_firstLength < m_length && path[m_firstLength] != '.')
            ++m_firstLength;
        m_hash = NameHash(First());
    }

    constexpr std::string_view First() const { return {m_path, m_firstLength}; }
    // The path after the first name and its "."; empty for a plain name.
    constexpr std::string_view Rest() const
    {
        return m_firstLength < m_length ? std::string_view(m_path + m_firstLength + 1, m_length - m_firstLength - 1)
                                        : std::string_view();
    }
    constexpr std::uint32_t Hash() const { return m_hash; }

private:
    const char* m_path;
    std::size_t m_length = 0;
    std::size_t m_firstLength = 0;
    std::uint32_t m_hash = 0;
};

/**
 * @brief The child elements of one element by name, indexed in one pass.
 *
 * Find gives the first child element of a name, as a walk over the children
 * would, but a record of k fields is read in k steps instead of k * k. Names
 * compare exactly or ignoring the case of ASCII letters. FindOrAppend appends a
 * missing element and keeps the index up to date; changes made by other means
 * are not seen.
 */
class TChildIndex
{
public:
    TChildIndex(pugi::xml_node element, bool ignoreCase);

    // The hash is NameHash(name).
    pugi::xml_node Find(std::string_view name, std::uint32_t hash) const;
    // The name as it is to be written; it must end in a NUL.
    pugi::xml_node FindOrAppend(std::string_view name, std::uint32_t hash);

private:
    // Plain pointers: a pugi::xml_node cannot be made without a call into the library.
    struct Slot
    {
        std::uint32_t hash;
        std::uint32_t length;
        const char* name;
        pugi::xml_node_struct* node;
    };
    // Records have a few dozen fields; more distinct names than this and the
    // index gives way to a plain walk. A bit per slot says which slots are in use,
    // so that an index costs no clearing of its table.
    static constexpr std::size_t SlotCount = 64;
    static constexpr int MaxEntries = 48;

    bool Used(std::size_t slot) const { return (m_used >> slot) & 1u; }

    // The element's name is of the given length.
    bool SameName(const char* elementName, std::size_t length, std::string_view name) const;
    void Insert(std::uint32_t hash, std::string_view name, pugi::xml_node node);

    pugi::xml_node m_element;
    bool m_ignoreCase;
    bool m_overflow = false;
    int m_entries = 0;
    std::uint64_t m_used = 0;
    std::array<Slot, SlotCount> m_slots;
};

/**
 * @brief Shares the short texts a rules file repeats. Values such as
 * "orvixCallerNumber" or "Wert 3" come thousands of times in a large file; a
 * text found in the pool costs neither an allocation nor the memory of a copy.
 * The pool remembers the last text of each of its slots, so it stays small and
 * never grows, whatever the file.
 */
class TTextPool
{
public:
    // Longer texts (IDs, paths, messages) are rarely repeated.
    static constexpr std::size_t MaxLength = 32;

    TTextPool();
    QString Text(std::string_view utf8);

private:
    struct Slot
    {
        std::uint8_t length = 0;
        char utf8[MaxLength];
        QString text;
    };
    static constexpr std::size_t SlotCount = 1024;
    std::vector<Slot> m_slots;
};

/**
 * @brief Reads the fields of one record (a rule, a sequence, an action, a
 * parameter). A name is found whatever the case of its letters in the file.
 * A path ("InnerBaseActions.AllBaseActions") follows the first element of each name.
 *
 * Files this program writes hold a record's fields in about the order its
 * reader asks for them, so the reader follows the file: it remembers the
 * elements it has passed and looks a step or two ahead. Only a request that
 * neither answers (a field missing, or far out of order) indexes all of the
 * record's children, and the index answers from then on. Either way the answer
 * is the first element of that name.
 */
class TXmlRecordReader
{
public:
    // Texts come from the pool when one is given.
    explicit TXmlRecordReader(pugi::xml_node element, TTextPool* texts = nullptr);
    // A reader of a record inside this one, sharing its pool.
    TXmlRecordReader Record(pugi::xml_node element) const { return TXmlRecordReader(element, m_texts); }

    pugi::xml_node Node(TFieldName path) const
    {
        // Inline, the request a file written by this program answers: its next element.
        if (m_nextName && !m_skippedCount && !m_index && path.Rest().empty() &&
            !(m_answerHashes & HashBit(path.Hash())) && SameNameExactly(m_nextName, path.First()))
            return TakeNext(path.Hash());
        return Find(path);
    }
    bool Has(TFieldName name) const { return bool(Node(name)); }
    bool Boolean(TFieldName name) const { return ReadBoolean(Node(name)); }
    int Integer(TFieldName name) const { return ReadInteger(Node(name)); }
    QString Text(TFieldName name) const { return Text(Node(name)); }
    QString Text(TFieldName name, const QString& current) const { return Text(Node(name), current); }
    // The text of an element of this record; current itself when the text equals it.
    QString Text(pugi::xml_node node, const QString& current = QString()) const;
    // The same for text already taken from an element.
    QString TextOf(std::string_view utf8, const QString& current = QString()) const;
    QStringList Lines(TFieldName name) const { return ReadLines(Node(name)); }

private:
    struct Passed
    {
        const char* name;
        pugi::xml_node_struct* node;
        // For an answer: the hash of the name it answered.
        std::uint32_t hash;
    };
    // How far a request looks past the next element before it indexes the record.
    static constexpr int LookAhead = 2;
    // Records have a few dozen fields; one with more is read from the index.
    static constexpr int MaxAnswers = 48;
    static constexpr int MaxSkipped = 8;

    static std::uint64_t HashBit(std::uint32_t hash) { return std::uint64_t(1) << (hash % 64); }
    static bool SameNameExactly(const char* elementName, std::string_view name)
    {
        for (const char c : name) {
            if (*elementName++ != c)
                return false;
        }
        return *elementName == '\0';
    }

    pugi::xml_node Find(TFieldName path) const;
    pugi::xml_node Child(std::string_view name, std::uint32_t hash) const;
    pugi::xml_node FromPassed(std::string_view name, std::uint32_t hash) const;
    pugi::xml_node FromAhead(std::string_view name, std::uint32_t hash) const;
    // Hands out the next element as the answer to the name of that hash.
    pugi::xml_node TakeNext(std::uint32_t hash) const;
    pugi::xml_node Answer(const Passed& element) const;
    void SetNext(pugi::xml_node node) const;

    pugi::xml_node m_element;
    TTextPool* m_texts;
    // Every element before m_next is an answer or was skipped. The answers are
    // looked at before the skipped ones: a skipped element of a name is never
    // behind an answer of that name. Lookups are const to the caller; they only
    // move where the reader looks.
    mutable pugi::xml_node m_next;
    // m_next's name, null when there is none: the inline path makes no call into the library.
    mutable const char* m_nextName = nullptr;
    mutable std::array<Passed, MaxAnswers> m_answers;
    mutable int m_answerCount = 0;
    // A bit per hash modulo 64 of the answers: most requests are for new names.
    mutable std::uint64_t m_answerHashes = 0;
    mutable std::array<Passed, MaxSkipped> m_skipped;
    mutable int m_skippedCount = 0;
    mutable std::optional<TChildIndex> m_index;
};

/**
 * @brief The text of an XML file, written piece by piece to a device in the very
 * layout pugixml gives a document (a tab per level, " />" for empty elements,
 * markup and control characters escaped alike), without building the document.
 */
class TXmlTextStream
{
public:
    explicit TXmlTextStream(QIODevice& device)
        : m_device(device)
    {
    }
    TXmlTextStream(const TXmlTextStream&) = delete;
    TXmlTextStream& operator=(const TXmlTextStream&) = delete;

    void Append(std::string_view text);
    void AppendIndent(int depth) { m_buffer.append(std::size_t(depth), '\t'); }
    // Element text or an attribute value; it ends at a NUL character, as in a document.
    void AppendEscaped(std::string_view utf8);
    // Writes what is buffered; false once anything failed to be written.
    bool Flush();

private:
    void FlushIfFull();

    QIODevice& m_device;
    std::string m_buffer;
    bool m_failed = false;
};

/**
 * @brief Writes the fields of one record (a rule, a sequence, an action, a
 * parameter) and the elements below it, either into a document or as text.
 *
 * Into a document, each field goes into the first child element of that name
 * (spelled by the case mode, created when missing), so that writing twice updates
 * in place: what FindNodeExt with ForceNode does, field by field. As text, every
 * field and element is written in the order of the calls; the writer of an
 * element closes it when it goes out of scope, so an element's writer must be
 * done before its parent writes on.
 */
class TXmlRecordWriter
{
public:
    TXmlRecordWriter(pugi::xml_node element, TCaseType caseType);
    // The root element of a text, names as they are spelled (csNoChange).
    TXmlRecordWriter(TXmlTextStream& stream, TFieldName rootName);
    ~TXmlRecordWriter();
    TXmlRecordWriter(const TXmlRecordWriter&) = delete;
    TXmlRecordWriter& operator=(const TXmlRecordWriter&) = delete;

    bool Valid() const { return m_stream || m_element; }

    void Boolean(TFieldName name, bool value);
    void Integer(TFieldName name, int value);
    void Text(TFieldName name, const QString& value);
    void Lines(TFieldName name, const QStringList& lines);
    // A child element (or a path of them) to write into.
    TXmlRecordWriter Child(TFieldName path);
    // The child element of that name with attribute "rep" = number.
    TXmlRecordWriter Item(TFieldName name, int number);

private:
    // A text writer for elements just opened.
    TXmlRecordWriter(TXmlTextStream* stream, int depth, std::string_view names[], int count, int rep = 0);
    pugi::xml_node Node(TFieldName path);
    void WriteUtf8(TFieldName name, std::string_view utf8);
    void OpenContent();

    pugi::xml_node m_element;
    TCaseType m_caseType = csNoChange;
    TChildIndex m_index;
    std::optional<TNumberedNodes> m_items;
    std::string m_itemsName;

    TXmlTextStream* m_stream = nullptr;
    // Depth of the innermost element this writer opened.
    int m_depth = 0;
    std::array<std::string_view, 3> m_open {};
    int m_openCount = 0;
    // The innermost start tag still lacks its ">": nothing has been written into it.
    bool m_pending = false;
};
