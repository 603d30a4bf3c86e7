// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QVarLengthArray>

#include <pugixml.hpp>

#include <string>
#include <string_view>

/**
 * How element names are spelled when an element is written or looked up. The
 * conversion touches ASCII letters only. The ordinals are fixed.
 */
enum TCaseType : quint8
{
    csUpper,
    csLower,
    // First character in capitals, the rest unchanged.
    csFirstChar,
    csNoChange
};

// The name converted by the case mode.
std::string ConvertCase(std::string_view name, TCaseType caseType);

/**
 * @brief The same as a C string for the lookups of pugixml. Names of the rules
 * file fit the buffer, so that a lookup costs no allocation.
 */
class TConvertedName
{
public:
    TConvertedName(std::string_view name, TCaseType caseType);
    TConvertedName(const TConvertedName&) = delete;
    TConvertedName& operator=(const TConvertedName&) = delete;

    const char* c_str() const { return m_text; }

private:
    char m_buffer[96];
    std::string m_large;
    const char* m_text = m_buffer;
};

/**
 * The XML text with every element name converted by the case mode and nothing
 * else changed: attribute names and values, text and a declaration at the very
 * start of the text keep their spelling. Works on the text as it stands (a tag
 * ends at ">" or at the first blank), so the result is only meaningful for XML
 * as a DOM writes it.
 */
QString MakeCaseInsentiveXML(const QString& xmlInput, TCaseType makeCaseChange);

// Number of "."-separated names in a path; a "." at the end does not count; 0 for an empty path.
int GetNodeCount(std::string_view path);
// The first name of the path; the path is advanced past it and its ".".
std::string_view GetNextNodeName(std::string_view& path);

/**
 * Follows a "."-separated path of element names from startNode; each name is
 * converted by caseSearch and matched exactly against the first child of that
 * name. With forceNode, missing elements are appended on the way (carrying
 * attribName = attribVal when an attribute is given).
 *
 * With an attribute, the result is the first element from the one reached on
 * (it and its following siblings) whose name equals the reached name ignoring
 * case and whose attribute attribName (matched exactly) equals attribVal ignoring
 * case; with forceNode a new sibling carrying the attribute is appended when
 * none does. Returns a null node when nothing is found; never throws.
 */
pugi::xml_node FindNodeExt(pugi::xml_node startNode, std::string_view path, std::string_view attribName,
                           std::string_view attribVal, TCaseType caseSearch, bool forceNode);

/**
 * @brief The repeated elements of one name under one parent, told apart by their
 * "rep" number (1, 2, 3 ...).
 *
 * Find and FindOrCreate give what FindNodeExt(parent, name, "rep", number) gives;
 * the siblings are indexed once, so that walking a list of n elements costs n
 * steps instead of n * n. The index follows the elements that FindOrCreate
 * appends; it does not see changes made to the tree by other means.
 */
class TNumberedNodes
{
public:
    TNumberedNodes(pugi::xml_node parent, std::string_view name, TCaseType caseType);
    // The list as a loader reads it: the name is matched ignoring case throughout,
    // which is what a lookup in capitals finds once every name is in capitals.
    TNumberedNodes(pugi::xml_node parent, std::string_view name);

    pugi::xml_node Find(int number) const;
    pugi::xml_node FindOrCreate(int number);
    /**
     * The order in which a list is read: the element numbered 1, or failing that
     * the first element of the name, then the elements numbered 2, 3 ... up to the
     * first number that is missing.
     */
    QVarLengthArray<pugi::xml_node, 16> ReadingOrder() const;

private:
    void IndexSiblings();

    struct Entry
    {
        int number;
        pugi::xml_node node;
    };

    pugi::xml_node m_parent;
    std::string m_name;
    pugi::xml_node m_first;
    // Sorted by number; of elements with the same number only the first is kept.
    // Most lists are short: they stay off the heap.
    QVarLengthArray<Entry, 16> m_entries;
};
