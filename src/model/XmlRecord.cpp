// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/XmlRecord.h"

#include "platform/AsciiCase.h"
#include "platform/NumberText.h"

#include <QStringEncoder>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

// The value in UTF-8, valid until the next call: one buffer for all values, since
// a save writes about a million of them.
std::string_view Utf8Of(const QString& value)
{
    thread_local std::string buffer;
    thread_local QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    buffer.resize(std::size_t(encoder.requiredSpace(value.size())));
    char* const end = encoder.appendToBuffer(buffer.data(), value);
    return std::string_view(buffer.data(), std::size_t(end - buffer.data()));
}

QString JoinLines(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

std::string_view Digits(int value, char (&buffer)[16])
{
    const auto end = std::to_chars(buffer, buffer + sizeof(buffer), value).ptr;
    return std::string_view(buffer, std::size_t(end - buffer));
}

bool IsText(pugi::xml_node node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

void SetText(pugi::xml_node node, std::string_view utf8)
{
    if (!node)
        return;
    if (utf8.empty()) {
        // An empty value is an empty element, not an empty text node.
        for (pugi::xml_node child = node.first_child(); child;) {
            const pugi::xml_node next = child.next_sibling();
            if (IsText(child))
                node.remove_child(child);
            child = next;
        }
        return;
    }
    node.text().set(utf8.data(), utf8.size());
}

} // namespace

std::string_view ElementText(pugi::xml_node node, std::string& storage)
{
    // Rules files are parsed with an element's first text kept in the element
    // itself; documents the program builds hold it in a text child. The common
    // cases, in as few calls into the library as may be.
    const char* own = node.value();
    const pugi::xml_node first = node.first_child();
    if (!first)
        return own;
    if (own[0] == '\0' && IsText(first) && !first.next_sibling())
        return first.value();
    storage = own;
    // Without recursion: the text may sit below any number of nested elements.
    pugi::xml_node current = first;
    while (current) {
        if (IsText(current) || current.type() == pugi::node_element)
            storage += current.value();
        if (pugi::xml_node child = current.first_child()) {
            current = child;
            continue;
        }
        while (current != node && !current.next_sibling())
            current = current.parent();
        if (current == node)
            break;
        current = current.next_sibling();
    }
    return storage;
}

bool ReadBoolean(pugi::xml_node node)
{
    std::string storage;
    return SameIgnoringAsciiCase(ElementText(node, storage), "true");
}

int ReadInteger(pugi::xml_node node)
{
    std::string storage;
    return DecimalToInteger(ElementText(node, storage)).value_or(-1);
}

QString ReadText(pugi::xml_node node)
{
    std::string storage;
    const std::string_view text = ElementText(node, storage);
    return text.empty() ? QString() : QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QStringList ReadLines(pugi::xml_node node)
{
    const QString text = ReadText(node);
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        lines.append(text.mid(start, i - start));
        i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

void WriteText(pugi::xml_node node, const QString& value)
{
    SetText(node, Utf8Of(value));
}

pugi::xml_node FirstChildIgnoringCase(pugi::xml_node parent, const char* name)
{
    const std::string_view wanted(name);
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && SameIgnoringAsciiCase(child.name(), wanted))
            return child;
    }
    return {};
}

TChildIndex::TChildIndex(pugi::xml_node element, bool ignoreCase)
    : m_element(element)
    , m_ignoreCase(ignoreCase)
{
    for (pugi::xml_node child = element.first_child(); child && !m_overflow; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const char* name = child.name();
        std::size_t length = 0;
        const std::uint32_t hash = NameHash(name, length);
        Insert(hash, std::string_view(name, length), child);
    }
}

bool TChildIndex::SameName(const char* elementName, std::size_t length, std::string_view name) const
{
    if (length != name.size())
        return false;
    // Files mostly spell names as the program writes them.
    if (std::memcmp(elementName, name.data(), length) == 0)
        return true;
    return m_ignoreCase && SameIgnoringAsciiCase(elementName, name);
}

void TChildIndex::Insert(std::uint32_t hash, std::string_view name, pugi::xml_node node)
{
    for (std::size_t i = hash % SlotCount;; i = (i + 1) % SlotCount) {
        Slot& slot = m_slots[i];
        if (!Used(i)) {
            if (m_entries == MaxEntries) {
                m_overflow = true;
                return;
            }
            slot = {hash, std::uint32_t(name.size()), name.data(), node.internal_object()};
            m_used |= std::uint64_t(1) << i;
            ++m_entries;
            return;
        }
        // The first element of a name is the one found.
        if (slot.hash == hash && SameName(slot.name, slot.length, name))
            return;
    }
}

pugi::xml_node TChildIndex::Find(std::string_view name, std::uint32_t hash) const
{
    for (std::size_t i = hash % SlotCount; Used(i); i = (i + 1) % SlotCount) {
        if (m_slots[i].hash == hash && SameName(m_slots[i].name, m_slots[i].length, name))
            return pugi::xml_node(m_slots[i].node);
    }
    if (!m_overflow)
        return {};
    for (pugi::xml_node child = m_element.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) {
            const char* childName = child.name();
            if (SameName(childName, std::strlen(childName), name))
                return child;
        }
    }
    return {};
}

pugi::xml_node TChildIndex::FindOrAppend(std::string_view name, std::uint32_t hash)
{
    if (pugi::xml_node found = Find(name, hash))
        return found;
    pugi::xml_node appended = m_element.append_child(name.data());
    if (appended && !m_overflow)
        Insert(hash, std::string_view(appended.name(), name.size()), appended);
    return appended;
}

TTextPool::TTextPool()
    : m_slots(SlotCount)
{
}

QString TTextPool::Text(std::string_view utf8)
{
    if (utf8.empty() || utf8.size() > MaxLength)
        return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    Slot& slot = m_slots[NameHash(utf8) % SlotCount];
    if (slot.length != utf8.size() || std::memcmp(slot.utf8, utf8.data(), utf8.size()) != 0) {
        slot.length = std::uint8_t(utf8.size());
        std::memcpy(slot.utf8, utf8.data(), utf8.size());
        slot.text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    }
    return slot.text;
}

TXmlRecordReader::TXmlRecordReader(pugi::xml_node element, TTextPool* texts)
    : m_element(element)
    , m_texts(texts)
{
    SetNext(element.first_child());
}

QString TXmlRecordReader::Text(pugi::xml_node node, const QString& current) const
{
    std::string storage;
    return TextOf(ElementText(node, storage), current);
}

QString TXmlRecordReader::TextOf(std::string_view utf8, const QString& current) const
{
    if (utf8.empty())
        return QString();
    const QUtf8StringView text(utf8.data(), qsizetype(utf8.size()));
    if (!current.isEmpty() && QAnyStringView::equal(text, current))
        return current;
    return m_texts ? m_texts->Text(utf8) : text.toString();
}

void TXmlRecordReader::SetNext(pugi::xml_node node) const
{
    while (node && node.type() != pugi::node_element)
        node = node.next_sibling();
    m_next = node;
    m_nextName = node ? node.name() : nullptr;
}

pugi::xml_node TXmlRecordReader::Answer(const Passed& element) const
{
    m_answers[std::size_t(m_answerCount++)] = element;
    m_answerHashes |= HashBit(element.hash);
    return pugi::xml_node(element.node);
}

pugi::xml_node TXmlRecordReader::TakeNext(std::uint32_t hash) const
{
    const Passed next {m_nextName, m_next.internal_object(), hash};
    SetNext(m_next.next_sibling());
    return Answer(next);
}

pugi::xml_node TXmlRecordReader::FromPassed(std::string_view name, std::uint32_t hash) const
{
    if (m_answerHashes & HashBit(hash)) {
        for (int i = 0; i < m_answerCount; ++i) {
            const Passed& answer = m_answers[std::size_t(i)];
            if (answer.hash == hash && SameIgnoringAsciiCase(answer.name, name))
                return pugi::xml_node(answer.node);
        }
    }
    for (int i = 0; i < m_skippedCount; ++i) {
        if (SameIgnoringAsciiCase(m_skipped[std::size_t(i)].name, name)) {
            const Passed found {m_skipped[std::size_t(i)].name, m_skipped[std::size_t(i)].node, hash};
            std::copy(m_skipped.begin() + i + 1, m_skipped.begin() + m_skippedCount, m_skipped.begin() + i);
            --m_skippedCount;
            return Answer(found);
        }
    }
    return {};
}

pugi::xml_node TXmlRecordReader::FromAhead(std::string_view name, std::uint32_t hash) const
{
    for (int step = 0; step <= LookAhead && m_nextName; ++step) {
        if (m_answerCount == MaxAnswers || m_skippedCount == MaxSkipped)
            return {};
        if (SameIgnoringAsciiCase(m_nextName, name))
            return TakeNext(hash);
        m_skipped[std::size_t(m_skippedCount++)] = {m_nextName, m_next.internal_object(), 0};
        SetNext(m_next.next_sibling());
    }
    return {};
}

pugi::xml_node TXmlRecordReader::Child(std::string_view name, std::uint32_t hash) const
{
    if (m_index)
        return m_index->Find(name, hash);
    if (const pugi::xml_node passed = FromPassed(name, hash))
        return passed;
    if (const pugi::xml_node ahead = FromAhead(name, hash))
        return ahead;
    m_index.emplace(m_element, true);
    return m_index->Find(name, hash);
}

pugi::xml_node TXmlRecordReader::Find(TFieldName path) const
{
    pugi::xml_node node = Child(path.First(), path.Hash());
    for (std::string_view rest = path.Rest(); node && !rest.empty();)
        node = FirstChildIgnoringCase(node, TConvertedName(GetNextNodeName(rest), csNoChange).c_str());
    return node;
}

void TXmlTextStream::Append(std::string_view text)
{
    m_buffer.append(text);
    FlushIfFull();
}

void TXmlTextStream::AppendEscaped(std::string_view utf8)
{
    std::size_t run = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const bool special = c == '&' || c == '<' || c == '>' || (c < 32 && c != '\t' && c != '\n' && c != '\r');
        if (!special)
            continue;
        m_buffer.append(utf8.substr(run, i - run));
        run = i + 1;
        switch (c) {
        case '\0':
            FlushIfFull();
            return;
        case '&':
            m_buffer.append("&amp;");
            break;
        case '<':
            m_buffer.append("&lt;");
            break;
        case '>':
            m_buffer.append("&gt;");
            break;
        default:
            m_buffer.append({'&', '#', char('0' + c / 10), char('0' + c % 10), ';'});
            break;
        }
    }
    m_buffer.append(utf8.substr(run));
    FlushIfFull();
}

void TXmlTextStream::FlushIfFull()
{
    if (m_buffer.size() >= std::size_t {256} * 1024)
        Flush();
}

bool TXmlTextStream::Flush()
{
    // A short write is not yet a failure; writing the rest either succeeds or fails
    // outright, and only an outright failure leaves its cause with the device.
    std::string_view rest = m_buffer;
    while (!m_failed && !rest.empty()) {
        const qint64 written = m_device.write(rest.data(), qint64(rest.size()));
        if (written <= 0)
            m_failed = true;
        else
            rest.remove_prefix(std::size_t(written));
    }
    m_buffer.clear();
    return !m_failed;
}

TXmlRecordWriter::TXmlRecordWriter(pugi::xml_node element, TCaseType caseType)
    : m_element(element)
    , m_caseType(caseType)
    , m_index(element, false)
{
}

TXmlRecordWriter::TXmlRecordWriter(TXmlTextStream& stream, TFieldName rootName)
    : m_index(pugi::xml_node(), false)
    , m_stream(&stream)
{
    stream.Append("<");
    stream.Append(rootName.First());
    m_open[0] = rootName.First();
    m_openCount = 1;
    m_pending = true;
}

TXmlRecordWriter::TXmlRecordWriter(TXmlTextStream* stream, int depth, std::string_view names[], int count, int rep)
    : m_index(pugi::xml_node(), false)
    , m_stream(stream)
    , m_depth(depth + count - 1)
    , m_openCount(count)
{
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            stream->Append(">\n");
        stream->AppendIndent(depth + i);
        stream->Append("<");
        stream->Append(names[i]);
        m_open[std::size_t(i)] = names[i];
    }
    if (rep > 0) {
        char digits[16];
        stream->Append(" rep=\"");
        stream->Append(Digits(rep, digits));
        stream->Append("\"");
    }
    m_pending = true;
}

TXmlRecordWriter::~TXmlRecordWriter()
{
    if (!m_stream)
        return;
    for (int i = m_openCount - 1; i >= 0; --i) {
        if (i == m_openCount - 1 && m_pending) {
            m_stream->Append(" />\n");
            continue;
        }
        m_stream->AppendIndent(m_depth - (m_openCount - 1 - i));
        m_stream->Append("</");
        m_stream->Append(m_open[std::size_t(i)]);
        m_stream->Append(">\n");
    }
}

void TXmlRecordWriter::OpenContent()
{
    if (m_pending) {
        m_stream->Append(">\n");
        m_pending = false;
    }
}

void TXmlRecordWriter::WriteUtf8(TFieldName name, std::string_view utf8)
{
    if (!m_stream) {
        SetText(Node(name), utf8);
        return;
    }
    OpenContent();
    m_stream->AppendIndent(m_depth + 1);
    m_stream->Append("<");
    m_stream->Append(name.First());
    if (utf8.empty()) {
        m_stream->Append(" />\n");
        return;
    }
    m_stream->Append(">");
    m_stream->AppendEscaped(utf8);
    m_stream->Append("</");
    m_stream->Append(name.First());
    m_stream->Append(">\n");
}

void TXmlRecordWriter::Boolean(TFieldName name, bool value)
{
    WriteUtf8(name, value ? "True" : "False");
}

void TXmlRecordWriter::Integer(TFieldName name, int value)
{
    char digits[16];
    WriteUtf8(name, Digits(value, digits));
}

void TXmlRecordWriter::Text(TFieldName name, const QString& value)
{
    WriteUtf8(name, Utf8Of(value));
}

void TXmlRecordWriter::Lines(TFieldName name, const QStringList& lines)
{
    Text(name, JoinLines(lines));
}

TXmlRecordWriter TXmlRecordWriter::Child(TFieldName path)
{
    if (!m_stream)
        return TXmlRecordWriter(Node(path), m_caseType);
    OpenContent();
    std::string_view names[3];
    int count = 0;
    names[count++] = path.First();
    for (std::string_view rest = path.Rest(); !rest.empty() && count < 3;)
        names[count++] = GetNextNodeName(rest);
    return TXmlRecordWriter(m_stream, m_depth + 1, names, count);
}

TXmlRecordWriter TXmlRecordWriter::Item(TFieldName name, int number)
{
    if (!m_stream) {
        if (!m_items || m_itemsName != name.First()) {
            m_itemsName = name.First();
            m_items.emplace(m_element, name.First(), m_caseType);
        }
        return TXmlRecordWriter(m_items->FindOrCreate(number), m_caseType);
    }
    OpenContent();
    std::string_view names[1] = {name.First()};
    return TXmlRecordWriter(m_stream, m_depth + 1, names, 1, number);
}

pugi::xml_node TXmlRecordWriter::Node(TFieldName path)
{
    const TConvertedName first(path.First(), m_caseType);
    const pugi::xml_node node = m_index.FindOrAppend(std::string_view(first.c_str(), path.First().size()), path.Hash());
    return node && !path.Rest().empty() ? FindNodeExt(node, path.Rest(), {}, {}, m_caseType, true) : node;
}
