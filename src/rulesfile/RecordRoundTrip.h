// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/XmlNavigation.h"
#include "model/XmlRecord.h"
#include "rulesfile/Parameters.h"

#include <pugixml.hpp>

#include <memory>

// Writes one record (write takes a TXmlRecordWriter&) into a fresh document and
// reads it back (read takes a const TXmlRecordReader& and gives the result): a
// copy made this way holds exactly what a reload of the rules file would.
template <typename Write, typename Read>
auto ThroughRecord(TFieldName element, Write&& write, Read&& read)
{
    const std::unique_ptr<pugi::xml_document> doc = TParameters::GetXMLDoc();
    {
        TXmlRecordWriter root(doc->document_element(), csUpper);
        TXmlRecordWriter record = root.Child(element);
        write(record);
    }
    TTextPool texts;
    return read(TXmlRecordReader(FirstChildIgnoringCase(doc->document_element(), element.First().data()), &texts));
}
