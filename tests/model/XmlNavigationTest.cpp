// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/XmlNavigation.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace Qt::StringLiterals;

namespace {

pugi::xml_document Parse(const char* text)
{
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(text));
    return doc;
}

std::string Text(const pugi::xml_node& node)
{
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

// The label each test element carries, so that a test can say which one a lookup found.
std::string Label(pugi::xml_node node)
{
    return node ? node.attribute("n").value() : "null";
}

} // namespace

TEST(XmlNavigation, MakeCaseInsentiveXMLConvertsElementNamesOnly)
{
    struct Case
    {
        TCaseType mode;
        QString input;
        QString expected;
    };
    const Case cases[] {
        {csUpper, u"<?xml version=\"1.0\"?><Rule rep=\"1\"><Name>Kunde a</Name></Rule>"_s,
         u"<?xml version=\"1.0\"?><RULE rep=\"1\"><NAME>Kunde a</NAME></RULE>"_s},
        // The first character of the text opens no tag: a root without declaration keeps its name.
        {csUpper, u"<root><a/></root>"_s, u"<root><A/></ROOT>"_s},
        {csLower, u"<x><TimeOut Rep=\"A\">True</TimeOut></x>"_s, u"<x><timeout Rep=\"A\">True</timeout></x>"_s},
        {csFirstChar, u"<x><timeOut>t</timeOut></x>"_s, u"<x><TimeOut>t</TimeOut></X>"_s},
        {csNoChange, u"<x><TimeOut>t</TimeOut></x>"_s, u"<x><TimeOut>t</TimeOut></x>"_s},
        // Only ASCII letters change.
        {csUpper, u"<x><grüße>ä</grüße></x>"_s, u"<x><GRüßE>ä</GRüßE></X>"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        EXPECT_EQ(MakeCaseInsentiveXML(c.input, c.mode), c.expected);
    }
}

TEST(XmlNavigation, PathsCountAndSplitAtDots)
{
    EXPECT_EQ(GetNodeCount(""), 0);
    EXPECT_EQ(GetNodeCount("ID"), 1);
    EXPECT_EQ(GetNodeCount("AllSubActions.SubAction"), 2);
    EXPECT_EQ(GetNodeCount("InnerBaseActions.AllBaseActions.BaseAction."), 3);

    std::string_view path = "InnerBaseActions.AllBaseActions";
    EXPECT_EQ(GetNextNodeName(path), "InnerBaseActions");
    EXPECT_EQ(GetNextNodeName(path), "AllBaseActions");
    EXPECT_TRUE(path.empty());
}

TEST(XmlNavigation, FindNodeExtLooksUpByPathAndAttribute)
{
    const pugi::xml_document doc = Parse(R"(<ROOT>
        <LIST n="list"><ITEM n="a" rep="2"/><OTHER n="o" rep="1"/><item n="b" rep="1"/><ITEM n="c" REP="3"/>
                       <ITEM n="d" rep="X"/></LIST>
        <LIST n="second"/></ROOT>)");
    const pugi::xml_node root = doc.document_element();
    struct Case
    {
        const char* path;
        const char* attribute;
        const char* value;
        TCaseType mode;
        std::string expected;
    };
    const Case cases[] {
        {"List", "", "", csUpper, "list"},
        {"List", "", "", csNoChange, "null"},
        {"List.Item", "", "", csUpper, "a"},
        // Siblings of another name are passed over; names compare ignoring case.
        {"List.Item", "rep", "1", csUpper, "b"},
        {"List.Item", "rep", "2", csUpper, "a"},
        // The attribute name is exact, its value ignores case.
        {"List.Item", "rep", "3", csUpper, "null"},
        {"List.Item", "rep", "x", csUpper, "d"},
        {"List.Missing", "", "", csUpper, "null"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + std::string(" ") + c.attribute + "=" + c.value);
        EXPECT_EQ(Label(FindNodeExt(root, c.path, c.attribute, c.value, c.mode, false)), c.expected);
    }
    EXPECT_EQ(FindNodeExt(root, "", "", "", csUpper, false), root);
    EXPECT_FALSE(FindNodeExt(pugi::xml_node(), "List", "", "", csUpper, false));
}

TEST(XmlNavigation, FindNodeExtWithForceCreatesOnceAndThenFinds)
{
    pugi::xml_document doc;
    const pugi::xml_node root = doc.append_child("Root");
    const pugi::xml_node first = FindNodeExt(root, "AllRules.Rule", "rep", "1", csNoChange, true);
    const pugi::xml_node second = FindNodeExt(root, "AllRules.Rule", "rep", "2", csNoChange, true);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_EQ(FindNodeExt(root, "AllRules.Rule", "rep", "1", csNoChange, true), first);
    EXPECT_EQ(FindNodeExt(root, "ALLRULES.RULE", "rep", "2", csUpper, false), pugi::xml_node());
    EXPECT_EQ(FindNodeExt(root, "AllRules.Rule", "rep", "2", csNoChange, false), second);
    const pugi::xml_node upper = FindNodeExt(root, "allrules.id", "", "", csUpper, true);
    EXPECT_STREQ(upper.name(), "ID");
    EXPECT_STREQ(upper.parent().name(), "ALLRULES");
    // A component created on the way carries the attribute too.
    EXPECT_EQ(Text(root),
              R"(<Root><AllRules rep="1"><Rule rep="1"/><Rule rep="2"/></AllRules>)"
              R"(<ALLRULES><ID/></ALLRULES></Root>)");
}

// The index behind list reading must answer every number exactly as a walk with FindNodeExt would.
TEST(XmlNavigation, NumberedNodesAgreeWithFindNodeExt)
{
    const char* layouts[] {
        R"(<P><E n="1" rep="1"/><E n="2" rep="2"/><E n="3" rep="4"/></P>)",
        R"(<P><E n="1"/><E n="2"/><E n="3"/></P>)",
        R"(<P><E n="1" rep="2"/><E n="2" rep="1"/><E n="3" rep="2"/></P>)",
        R"(<P><X n="x" rep="1"/><e n="1" rep="1"/><E n="2" rep="2"/><e n="3" rep="3"/></P>)",
        R"(<P><E n="1" rep="01"/><E n="2" rep=" 2"/><E n="3" rep="-1"/><E n="4" rep="99999999999"/><E n="5" rep="3"/></P>)",
        R"(<P><E n="1" REP="1"/><E n="2" rep="2"/></P>)",
        R"(<P/>)",
    };
    for (const char* layout : layouts) {
        SCOPED_TRACE(layout);
        const pugi::xml_document doc = Parse(layout);
        const pugi::xml_node parent = doc.document_element();
        const TNumberedNodes numbered(parent, "e", csUpper);
        for (int number = 0; number <= 6; ++number) {
            EXPECT_EQ(Label(numbered.Find(number)),
                      Label(FindNodeExt(parent, "e", "rep", std::to_string(number), csUpper, false)))
                << "number " << number;
        }
    }

    const char* expectedOrders[][2] {
        {R"(<P><E n="a" rep="2"/><E n="b" rep="1"/><E n="c" rep="4"/></P>)", "b a"},
        {R"(<P><E n="a"/><E n="b"/></P>)", "a"},
        // Without number 1 the first element is read; number 2 then reads it again.
        {R"(<P><E n="a" rep="2"/><E n="b" rep="3"/></P>)", "a a b"},
        {R"(<P><E n="a" REP="1"/><E n="b" REP="2"/></P>)", "a"},
        {R"(<P><X/></P>)", ""},
    };
    for (const auto& [layout, expected] : expectedOrders) {
        SCOPED_TRACE(layout);
        const pugi::xml_document doc = Parse(layout);
        std::string order;
        // Appended piece by piece: GCC 12 at -O3 takes "" + std::string&& for an overlapping copy (-Wrestrict).
        for (const pugi::xml_node node : TNumberedNodes(doc.document_element(), "E", csUpper).ReadingOrder()) {
            if (!order.empty())
                order += ' ';
            order += Label(node);
        }
        EXPECT_EQ(order, expected);
    }
}

TEST(XmlNavigation, NumberedNodesCreateWhatFindNodeExtWouldCreate)
{
    pugi::xml_document byIndex;
    pugi::xml_document byWalk;
    for (pugi::xml_document* doc : {&byIndex, &byWalk})
        doc->load_string(R"(<P><Other/><Option rep="2"><Keep/></Option></P>)");
    TNumberedNodes options(byIndex.document_element(), "Option", csNoChange);
    for (int number : {1, 2, 3, 1}) {
        options.FindOrCreate(number).append_child("W");
        FindNodeExt(byWalk.document_element(), "Option", "rep", std::to_string(number), csNoChange, true)
            .append_child("W");
    }
    EXPECT_EQ(Text(byIndex), Text(byWalk));
}
