#include "model/XmlRecord.h"

#include <charconv>
#include <climits>

namespace {

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
    const pugi::xml_node first = node.first_child();
    if (!first)
        return {};
    if (!first.next_sibling() && IsText(first))
        return first.value();
    storage.clear();
    // Without recursion: the text may sit below any number of nested elements.
    pugi::xml_node current = first;
    while (current) {
        if (IsText(current))
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
    const std::string_view text = ElementText(node, storage);
    constexpr std::string_view True = "true";
    if (text.size() != True.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? char(text[i] + 32) : text[i];
        if (c != True[i])
            return false;
    }
    return true;
}

int ReadInteger(pugi::xml_node node)
{
    std::string storage;
    std::string_view text = ElementText(node, storage);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 10)
        return -1;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    return value >= INT_MIN && value <= INT_MAX ? int(value) : -1;
}

QString ReadText(pugi::xml_node node)
{
    std::string storage;
    const std::string_view text = ElementText(node, storage);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
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

void WriteBoolean(pugi::xml_node node, bool value)
{
    SetText(node, value ? "True" : "False");
}

void WriteInteger(pugi::xml_node node, int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof(digits), value).ptr;
    SetText(node, std::string_view(digits, std::size_t(end - digits)));
}

void WriteText(pugi::xml_node node, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    SetText(node, std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

void WriteLines(pugi::xml_node node, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    WriteText(node, text);
}
