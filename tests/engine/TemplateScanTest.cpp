// SPDX-License-Identifier: GPL-3.0-or-later

#include "TemplateTestSupport.h"

#include "engine/PageProducer.h"
#include "platform/KestrunError.h"

#include <gtest/gtest.h>

namespace {

// Shows what the handler was given: "[name a=x|b=y]".
QString Echo(const QString& tagName, const TTagAttributes& attributes)
{
    QStringList pairs;
    for (const auto& [name, value] : attributes.Items())
        pairs.append(name + u'=' + value);
    return u'[' + tagName + u' ' + pairs.join(u'|') + u']';
}

struct ProduceCase
{
    const char* text;
    const char* page;
};

class Produce : public ::testing::TestWithParam<ProduceCase>
{
};

} // namespace

TEST_P(Produce, ReplacesTagsAndCopiesEverythingElse)
{
    EXPECT_EQ(ProducePage(QString::fromUtf8(GetParam().text), Echo), QString::fromUtf8(GetParam().page));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Produce,
    ::testing::Values(ProduceCase {"<p>a < b && c > d</p>", "<p>a < b && c > d</p>"},
                      ProduceCase {"x<#saOrvix Value=\"orvixCallerName\">y", "x[saOrvix Value=orvixCallerName]y"},
                      ProduceCase {"<#tag Value=\"two words\"  Format=\"hh:nn\"\n\tOption1=True>",
                                   "[tag Value=two words|Format=hh:nn|Option1=True]"},
                      ProduceCase {"<#a><#b Value=\"1\">", "[a ][b Value=1]"}, ProduceCase {"<<#a>>", "<[a ]>"},
                      // A ">" inside quotes belongs to the value; an unclosed quote does not swallow the text.
                      ProduceCase {"<#a Value=\"x>y\">z", "[a Value=x>y]z"},
                      ProduceCase {"<#a Value=\"x>y <p>z</p>", "[a Value=x]y <p>z</p>"},
                      ProduceCase {"<#a Value = \"x\" Bare>", "[a Value=x|Bare=]"},
                      ProduceCase {"<#tag_2x-y Value=\"v\">", "[tag_2x -y=|Value=v]"},
                      // No name, no end: no tag.
                      ProduceCase {"<# a> <#> <#", "<# a> <#> <#"},
                      ProduceCase {"<#open Value=\"x\"", "<#open Value=\"x\""},
                      ProduceCase {"Grüße <#ä> ü", "Grüße <#ä> ü"}, ProduceCase {"", ""}));

TEST(TagAttributes, FirstOfANameCountsWhateverItsCase)
{
    const TTagAttributes attributes = ParseTagAttributes(u"value=\"a\" Value=\"b\" Format=\"\"");
    EXPECT_EQ(attributes.Value(u"Value"), QStringLiteral("a"));
    EXPECT_EQ(attributes.Value(u"FORMAT"), QString());
    EXPECT_EQ(attributes.Value(u"Value2"), QString());
    EXPECT_EQ(attributes.Items().size(), 3);
}

TEST(TagScanner, ReportsWhereEachTagStandsAndSkipsTheRest)
{
    const QString text = QStringLiteral("a <b> <#x Value=\"1\"> < # <#y>");
    const QList<TTemplateTag> tags = ScanTemplateTags(text);
    ASSERT_EQ(tags.size(), 2);
    EXPECT_EQ(text.mid(tags[0].Start, tags[0].Length), QStringLiteral("<#x Value=\"1\">"));
    EXPECT_EQ(tags[1].Name, QStringLiteral("y"));
    EXPECT_EQ(text.mid(tags[1].Start, tags[1].Length), QStringLiteral("<#y>"));
}

TEST(TemplateFile, ReadAsUtf8WithItsLineBreaksAndWithoutByteOrderMark)
{
    TemplateFolder folder;
    const QString path = folder.Write(QStringLiteral("t.txt"),
                                      "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
                                      "e\r\nZeile\nEnde\r\n");
    EXPECT_EQ(ReadTemplateFile(path), QStringLiteral("Grüße\r\nZeile\nEnde\r\n"));
}

// Templates made on Windows come as UTF-16 with a byte-order mark or in the
// Windows code page; all of them read to the same text.
TEST(TemplateFile, ReadInTheEncodingItWasWrittenIn)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        QString text;
    };
    const QString umlauts = QStringLiteral("<p>Grüße, Käthe!</p>\r\n");
    const auto utf16 = [&umlauts](bool littleEndian) {
        const QString marked = QChar(0xFEFF) + umlauts;
        QByteArray bytes;
        for (const QChar unit : marked) {
            const char low = char(unit.unicode() & 0xFF);
            const char high = char(unit.unicode() >> 8);
            bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
        }
        return bytes;
    };
    const Case cases[] {
        {"UTF-8 without mark", umlauts.toUtf8(), umlauts},
        {"UTF-16 LE", utf16(true), umlauts},
        {"UTF-16 BE", utf16(false), umlauts},
        {"Windows-1252",
         QByteArray("<p>Gr\xFC\xDF"
                    "e, K\xE4the!</p>\r\n"),
         umlauts},
        {"Windows-1252 beyond Latin-1",
         QByteArray("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98\x99"
                    "\x9A\x9B\x9C\x9E\x9F \xA0\xFF"),
         QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ \u00A0ÿ")},
        // Codes that Windows-1252 leaves unassigned come through as the C1 controls Windows reads them as.
        {"Windows-1252 unassigned", QByteArray("\x81\x8D\x8F\x90\x9D\xE4"),
         QStringLiteral("\u0081\u008D\u008F\u0090\u009D\u00E4")},
    };
    TemplateFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadTemplateFile(folder.Write(QStringLiteral("t.htm"), c.bytes)), c.text);
    }
}

TEST(TemplateFile, UnreadableOneNamesItsPath)
{
    TemplateFolder folder;
    const QStringList paths {folder.Path() + QStringLiteral("/missing.htm"), folder.Path(), QString()};
    for (const QString& path : paths) {
        try {
            ReadTemplateFile(path);
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const EKestrunError& error) {
            EXPECT_TRUE(error.Message().contains(u'"' + path + u'"')) << error.Message().toStdString();
        }
    }
}
