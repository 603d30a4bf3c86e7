// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/XmlNavigation.h"

#include "platform/AsciiCase.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

constexpr std::string_view RepAttribute = "rep";

char ConvertChar(char c, TCaseType caseType, bool first)
{
    switch (caseType) {
    case csUpper:
        return AsciiUpper(c);
    case csLower:
        return AsciiLower(c);
    case csFirstChar:
        return first ? AsciiUpper(c) : c;
    case csNoChange:
        break;
    }
    return c;
}

pugi::xml_node FirstChildElement(pugi::xml_node parent, const char* name)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && std::strcmp(child.name(), name) == 0)
            return child;
    }
    return {};
}

// A "rep" value that a lookup by number can match: a positive decimal number as
// a writer spells it. Anything else (blanks, signs, leading zeros) never equals one.
int RepNumber(const char* text)
{
    if (text[0] < '1' || text[0] > '9')
        return 0;
    return DecimalToInteger(text).value_or(0);
}

void SetAttribute(pugi::xml_node node, std::string_view name, std::string_view value)
{
    node.append_attribute(std::string(name).c_str()).set_value(value.data(), value.size());
}

} // namespace

TConvertedName::TConvertedName(std::string_view name, TCaseType caseType)
{
    char* out = m_buffer;
    if (name.size() >= sizeof(m_buffer)) {
        m_large.resize(name.size());
        out = m_large.data();
    }
    for (std::size_t i = 0; i < name.size(); ++i)
        out[i] = ConvertChar(name[i], caseType, i == 0);
    if (out == m_buffer)
        m_buffer[name.size()] = '\0';
    m_text = out;
}

std::string ConvertCase(std::string_view name, TCaseType caseType)
{
    std::string result(name);
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = ConvertChar(result[i], caseType, i == 0);
    return result;
}

QString MakeCaseInsentiveXML(const QString& xmlInput, TCaseType makeCaseChange)
{
    QString result = xmlInput;
    if (makeCaseChange == csNoChange)
        return result;
    char16_t* text = reinterpret_cast<char16_t*>(result.data());
    bool inTag = false;
    // For csFirstChar: nothing but "<" and "/" seen since the tag opened.
    bool atNameStart = false;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'<' && i > 0) {
            inTag = true;
            atNameStart = true;
        } else if (c == u'>' || (c == u' ' && inTag)) {
            inTag = false;
        }
        if (!inTag)
            continue;
        switch (makeCaseChange) {
        case csUpper:
            text[i] = AsciiUpper(c);
            break;
        case csLower:
            text[i] = AsciiLower(c);
            break;
        case csFirstChar:
            if (atNameStart && c != u'<' && c != u'/') {
                text[i] = AsciiUpper(c);
                atNameStart = false;
            }
            break;
        case csNoChange:
            break;
        }
    }
    return result;
}

int GetNodeCount(std::string_view path)
{
    if (path.empty())
        return 0;
    const auto dots = std::count(path.begin(), path.end(), '.');
    return int(dots) + 1 - (path.back() == '.' ? 1 : 0);
}

std::string_view GetNextNodeName(std::string_view& path)
{
    const std::size_t dot = path.find('.');
    const std::string_view name = path.substr(0, dot);
    path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
    return name;
}

pugi::xml_node FindNodeExt(pugi::xml_node startNode, std::string_view path, std::string_view attribName,
                           std::string_view attribVal, TCaseType caseSearch, bool forceNode)
{
    try {
        if (!startNode)
            return {};
        pugi::xml_node current = startNode;
        const int count = GetNodeCount(path);
        for (int i = 0; i < count; ++i) {
            const TConvertedName name(GetNextNodeName(path), caseSearch);
            pugi::xml_node remembered = current;
            current = FirstChildElement(remembered, name.c_str());
            if (!current && forceNode) {
                current = remembered.append_child(name.c_str());
                if (current && !attribName.empty())
                    SetAttribute(current, attribName, attribVal);
            }
            if (!current)
                return {};
        }
        if (attribName.empty())
            return current;

        const std::string attribute(attribName);
        const char* reachedName = current.name();
        const std::string_view reached(reachedName);
        for (pugi::xml_node sibling = current; sibling; sibling = sibling.next_sibling()) {
            if (sibling.type() != pugi::node_element || !SameIgnoringAsciiCase(sibling.name(), reached))
                continue;
            const pugi::xml_attribute found = sibling.attribute(attribute.c_str());
            if (found && SameIgnoringAsciiCase(found.value(), attribVal))
                return sibling;
        }
        if (!forceNode)
            return {};
        pugi::xml_node created = current.parent().append_child(reachedName);
        if (created)
            SetAttribute(created, attribName, attribVal);
        return created;
    } catch (...) {
        return {};
    }
}

TNumberedNodes::TNumberedNodes(pugi::xml_node parent, std::string_view name, TCaseType caseType)
    : m_parent(parent)
    , m_name(ConvertCase(name, caseType))
    , m_first(FirstChildElement(parent, m_name.c_str()))
{
    IndexSiblings();
}

TNumberedNodes::TNumberedNodes(pugi::xml_node parent, std::string_view name)
    : m_parent(parent)
    , m_name(name)
{
    for (pugi::xml_node child = parent.first_child(); child && !m_first; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && SameIgnoringAsciiCase(child.name(), m_name))
            m_first = child;
    }
    IndexSiblings();
}

void TNumberedNodes::IndexSiblings()
{
    if (!m_first)
        return;
    const std::string attribute(RepAttribute);
    for (pugi::xml_node sibling = m_first; sibling; sibling = sibling.next_sibling()) {
        if (sibling.type() != pugi::node_element || !SameIgnoringAsciiCase(sibling.name(), m_name))
            continue;
        if (const int number = RepNumber(sibling.attribute(attribute.c_str()).value()))
            m_entries.push_back({number, sibling});
    }
    const auto byNumber = [](const Entry& a, const Entry& b) { return a.number < b.number; };
    if (!std::is_sorted(m_entries.begin(), m_entries.end(), byNumber))
        std::stable_sort(m_entries.begin(), m_entries.end(), byNumber);
    // Of equal numbers the first in the document wins, as in a walk over the siblings.
    m_entries.erase(std::unique(m_entries.begin(), m_entries.end(),
                                [](const Entry& a, const Entry& b) { return a.number == b.number; }),
                    m_entries.end());
}

pugi::xml_node TNumberedNodes::Find(int number) const
{
    const auto found = std::lower_bound(m_entries.begin(), m_entries.end(), number,
                                        [](const Entry& entry, int value) { return entry.number < value; });
    return found != m_entries.end() && found->number == number ? found->node : pugi::xml_node();
}

pugi::xml_node TNumberedNodes::FindOrCreate(int number)
{
    if (pugi::xml_node found = Find(number))
        return found;
    if (!m_parent || number <= 0)
        return {};
    pugi::xml_node created = m_parent.append_child(m_name.c_str());
    if (!created)
        return {};
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof(digits), number).ptr;
    SetAttribute(created, RepAttribute, std::string_view(digits, std::size_t(end - digits)));
    if (!m_first)
        m_first = created;
    const auto position = std::lower_bound(m_entries.begin(), m_entries.end(), number,
                                           [](const Entry& entry, int value) { return entry.number < value; });
    m_entries.insert(position, {number, created});
    return created;
}

QVarLengthArray<pugi::xml_node, 16> TNumberedNodes::ReadingOrder() const
{
    QVarLengthArray<pugi::xml_node, 16> result;
    pugi::xml_node first = Find(1);
    if (!first)
        first = m_first;
    if (!first)
        return result;
    result.push_back(first);
    for (int number = 2;; ++number) {
        const pugi::xml_node next = Find(number);
        if (!next)
            break;
        result.push_back(next);
    }
    return result;
}
