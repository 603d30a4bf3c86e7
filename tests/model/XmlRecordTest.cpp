// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/XmlRecord.h"
#include "rulesfile/Parameters.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::string Text(pugi::xml_node node)
{
    std::string storage;
    return std::string(ElementText(node, storage));
}

// The answer every lookup must give: the first child element of the name, any case.
pugi::xml_node FirstOfName(pugi::xml_node parent, const char* name)
{
    return FirstChildIgnoringCase(parent, name);
}

} // namespace

// Rules files are parsed with each element's first text kept in the element
// itself; documents the program builds keep it in a text node. Values must read
// the same either way.
TEST(XmlRecord, ElementTextReadsAlikeWhereverTheParserPutTheText)
{
    const char* const values[] {
        "<v>plain</v>",
        "<v></v>",
        "<v/>",
        "<v>   </v>",
        "<v>a&amp;b &lt;c&gt;</v>",
        "<v><![CDATA[x<y]]></v>",
        "<v>ab<![CDATA[cd]]>ef</v>",
        "<v>before<i>inner</i>after</v>",
        "<v><i>only inner</i></v>",
        "<v><i>one</i><i>two<j>deep</j></i>tail</v>",
        "<v>line 1\r\nline 2\r\n</v>",
    };
    for (const char* value : values) {
        SCOPED_TRACE(value);
        pugi::xml_document separate;
        ASSERT_TRUE(separate.load_string(value, TParameters::XmlParseOptions & ~pugi::parse_embed_pcdata));
        pugi::xml_document embedded;
        ASSERT_TRUE(embedded.load_string(value, TParameters::XmlParseOptions));
        EXPECT_EQ(Text(embedded.document_element()), Text(separate.document_element()));
    }
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<v>before<i>inner</i>after</v>", TParameters::XmlParseOptions));
    EXPECT_EQ(Text(doc.document_element()), "beforeinnerafter");
    EXPECT_EQ(Text(pugi::xml_node()), "");
}

// Whatever the order of the requests and of the file's elements, a lookup finds
// the first element of that name ignoring case: the in-order path, the look
// ahead, the remembered elements and the index must all agree with a plain walk.
TEST(XmlRecord, ReaderFindsTheFirstElementOfANameInAnyOrderOfRequests)
{
    const char* const records[] {
        // As this program writes: requests in order mostly hit the next element.
        R"(<r><ID n="1"/><Caption n="2"/><ParamType n="3"/><Alias n="4"/><ShowAlias n="5"/></r>)",
        // Other capitals, duplicates in either spelling, text and unknown elements between.
        R"(<r>x<id n="1"/><Caption n="2"/><ID n="3"/>y<CAPTION n="4"/><Extra n="5"/><Alias n="6"/><alias n="7"/></r>)",
        R"(<r><Alias n="1"/><Alias n="2"/><Alias n="3"/><ShowAlias n="4"/><Alias n="5"/></r>)",
        R"(<r/>)",
    };
    const char* const names[] {"ID",    "Caption", "ParamType", "Alias",  "ShowAlias",
                               "Extra", "Missing", "alias",     "CAPTION"};
    constexpr TFieldName fields[] {"ID",    "Caption", "ParamType", "Alias",  "ShowAlias",
                                   "Extra", "Missing", "alias",     "CAPTION"};
    constexpr int nameCount = int(std::size(names));

    std::mt19937 random(7);
    for (const char* record : records) {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(record, TParameters::XmlParseOptions));
        const pugi::xml_node element = doc.document_element();
        for (int round = 0; round < 300; ++round) {
            // Round 0 asks in the listed order; the others at random, with repeats.
            std::vector<int> requests;
            for (int i = 0; i < 12; ++i)
                requests.push_back(round == 0 ? i % nameCount : int(random() % nameCount));
            const TXmlRecordReader reader(element);
            for (const int request : requests) {
                SCOPED_TRACE(std::string(record) + " asked for " + names[request]);
                ASSERT_EQ(reader.Node(fields[request]), FirstOfName(element, names[request]));
            }
        }
    }
}

TEST(XmlRecord, ReaderFollowsPathsAndReadsValues)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(R"(<r><Name>Kunde</Name><Active>true</Active><Count>-12</Count>
        <InnerBaseActions><allbaseactions><x>inner</x></allbaseactions></InnerBaseActions></r>)",
                                TParameters::XmlParseOptions));
    const TXmlRecordReader reader(doc.document_element());
    EXPECT_EQ(reader.Text("InnerBaseActions.AllBaseActions"), QStringLiteral("inner"));
    EXPECT_EQ(reader.Text("Name"), QStringLiteral("Kunde"));
    EXPECT_TRUE(reader.Boolean("Active"));
    EXPECT_EQ(reader.Integer("Count"), -12);
    EXPECT_FALSE(reader.Has("InnerBaseActions.Missing"));
}

// The pool hands out one shared string per text, and the right text even when
// far more different texts pass through it than it has room for.
TEST(XmlRecord, TextPoolSharesRepeatedTextsAndNeverMixesThemUp)
{
    TTextPool pool;
    const QString first = pool.Text("orvixCallerNumber");
    const QString again = pool.Text("orvixCallerNumber");
    EXPECT_EQ(again, QStringLiteral("orvixCallerNumber"));
    EXPECT_EQ(again.constData(), first.constData());

    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 5000; ++i) {
            const std::string text = "Wert " + std::to_string(i) + " äö";
            ASSERT_EQ(pool.Text(text), QString::fromStdString(text));
        }
    }
    const std::string longText(TTextPool::MaxLength + 1, 'x');
    EXPECT_EQ(pool.Text(longText), QString::fromStdString(longText));
    EXPECT_TRUE(pool.Text("").isEmpty());
}
