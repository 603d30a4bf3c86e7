// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/HtmlHighlighter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

enum class Kind
{
    None,
    Tag,
    Attribute,
    Value,
    Comment,
    Placeholder
};

// What the highlighter made of each character of the text, one letter per character
// ("." none, "t" tag, "a" attribute, "v" value, "c" comment, "#" placeholder), lines
// separated by "\n" as in the text.
QString Marks(const QString& text, TTemplateKind templateKind)
{
    QTextDocument document;
    THtmlHighlighter highlighter(&document, templateKind);
    document.setPlainText(text);
    // Without a view the first colouring would wait for the event loop.
    highlighter.rehighlight();
    const std::pair<const QTextCharFormat*, QChar> formats[] = {
        {&highlighter.TagFormat(), u't'},         {&highlighter.AttributeFormat(), u'a'},
        {&highlighter.ValueFormat(), u'v'},       {&highlighter.CommentFormat(), u'c'},
        {&highlighter.TemplateTagFormat(), u'#'},
    };
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line(block.length() - 1, u'.');
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            for (const auto& [format, mark] : formats) {
                if (range.format == *format)
                    line.replace(range.start, range.length, QString(range.length, mark));
            }
        }
        lines.append(line);
    }
    return lines.join(u'\n');
}

} // namespace

TEST(HtmlHighlighter, SetsPlaceholdersApartWhereverTheyStandAndFollowsLinesOfTags)
{
    struct Case
    {
        const char* text;
        const char* marks;
        TTemplateKind kind = TTemplateKind::Html;
    };
    const Case cases[] = {
        {R"(<p class="x">a < b</p>)", R"(tt.aaaaa.vvvt.....tttt)"},
        {R"(<#saOrvix Value="v"> ok)", R"(####################...)"},
        {R"(<a href="tel:<#saOrvix Value="n">">)", R"(tt.aaaa.vvvvv####################vt)"},
        {"<!-- <b> <#x> -->x", "ccccccccc####cccc."},
        {"<img\n  src='a'\n/>", "tttt\n..aaa.vvv\ntt"},
        {"<!--\n<#x>\n-->", "cccc\n####\nccc"},
        {"<td width=10 <#x>>", "ttt.aaaaa.vv.####t"},
        {"<b>Notiz</b> <#x> <#", ".............####...", TTemplateKind::PlainText},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Marks(QString::fromUtf8(c.text), c.kind), QString::fromUtf8(c.marks)) << c.text;
    }
}
