#pragma once

#include "model/XmlNavigation.h"

#include <QString>
#include <QStringList>

#include <pugixml.hpp>

#include <string>
#include <string_view>

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

void WriteBoolean(pugi::xml_node node, bool value);
void WriteInteger(pugi::xml_node node, int value);
void WriteText(pugi::xml_node node, const QString& value);
void WriteLines(pugi::xml_node node, const QStringList& lines);

/**
 * @brief Reads the fields of one record (a rule, a sequence, an action, a
 * parameter): each name is the first child element of that name, looked up in
 * capitals because the loader has turned every element name into capitals.
 */
class TXmlRecordReader
{
public:
    explicit TXmlRecordReader(pugi::xml_node element)
        : m_element(element)
    {
    }

    pugi::xml_node Element() const { return m_element; }
    pugi::xml_node Node(std::string_view path) const { return FindNodeExt(m_element, path, {}, {}, csUpper, false); }
    bool Has(std::string_view name) const { return bool(Node(name)); }
    bool Boolean(std::string_view name) const { return ReadBoolean(Node(name)); }
    int Integer(std::string_view name) const { return ReadInteger(Node(name)); }
    QString Text(std::string_view name) const { return ReadText(Node(name)); }
    QStringList Lines(std::string_view name) const { return ReadLines(Node(name)); }

private:
    pugi::xml_node m_element;
};

/**
 * @brief Writes the fields of one record, each into the first child element of
 * that name (created when missing), so that writing twice updates in place.
 */
class TXmlRecordWriter
{
public:
    TXmlRecordWriter(pugi::xml_node element, TCaseType caseType)
        : m_element(element)
        , m_caseType(caseType)
    {
    }

    pugi::xml_node Element() const { return m_element; }
    TCaseType CaseType() const { return m_caseType; }
    pugi::xml_node Node(std::string_view path) const { return FindNodeExt(m_element, path, {}, {}, m_caseType, true); }
    void Boolean(std::string_view name, bool value) const { WriteBoolean(Node(name), value); }
    void Integer(std::string_view name, int value) const { WriteInteger(Node(name), value); }
    void Text(std::string_view name, const QString& value) const { WriteText(Node(name), value); }
    void Lines(std::string_view name, const QStringList& lines) const { WriteLines(Node(name), lines); }

private:
    pugi::xml_node m_element;
    TCaseType m_caseType;
};
