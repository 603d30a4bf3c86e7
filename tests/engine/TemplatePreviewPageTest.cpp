// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/TemplatePreviewPage.h"
#include "parameters/ParameterOrvix.h"

#include <gtest/gtest.h>

namespace {

const QString CallerTag = QStringLiteral(R"(<#saOrvix Value="orvixCallerName">)");

QList<TTemplateParameterEntry> Caller(const QString& caption)
{
    return {{caption, CallerTag}};
}

} // namespace

TEST(TemplatePreviewPage, SampleIsTheParametersCaptionElseTheTagsValueElseItsName)
{
    TParameterOrvix named;
    named.SetCaption(QStringLiteral("Anrufer"));
    named.SetParameterValue(QStringLiteral("orvixCallerName"));
    TParameterOrvix unnamed;
    unnamed.SetCaption(QStringLiteral("  "));
    unnamed.SetParameterValue(QStringLiteral("orvixCallerNumber"));
    // A caption that only names the kind, as parameters made in the dialogs have.
    TParameterOrvix generic;
    generic.SetParameterValue(QStringLiteral("orvixCalledNumber"));
    TBaseParameter blank;
    const QList<TTemplateParameterEntry> entries =
        TemplateParameterEntries({&named, nullptr, &unnamed, &generic, &blank});
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0].Caption, QStringLiteral("Anrufer"));
    EXPECT_EQ(entries[0].Tag, CallerTag);
    EXPECT_EQ(entries[1].Caption, QStringLiteral("Orvix: orvixCallerNumber"));
    EXPECT_EQ(entries[2].Caption, QStringLiteral("Orvix: orvixCalledNumber"));
    // With neither the entry is shown, and filled, by its tag.
    EXPECT_EQ(entries[3].Caption, entries[3].Tag);

    const QString text = CallerTag + QStringLiteral(R"(|<#saUserParam Value="Kunde">|<#Frei>)");
    EXPECT_EQ(TemplatePreviewPage(text, TTemplateKind::Html, entries), QStringLiteral("Anrufer|Kunde|Frei"));
}

TEST(TemplatePreviewPage, HostileSampleStaysEncodedWhereverTheTagStands)
{
    const QString hostile = QStringLiteral(R"(</pre>"'><script>alert(1)</script>&)");
    struct Case
    {
        QString text;
        TTemplateKind kind;
    };
    const Case cases[] = {
        {u"<p>" + CallerTag + u"</p>", TTemplateKind::Html},
        {u"<a title=\"" + CallerTag + u"\">x</a>", TTemplateKind::Html},
        {u"<a title=" + CallerTag + u">x</a>", TTemplateKind::Html},
        {u"<pre>" + CallerTag + u"</pre>", TTemplateKind::Html},
        // Plain text is never read as markup, not even its own.
        {u"<b>Notiz</b> " + CallerTag, TTemplateKind::PlainText},
    };
    for (const Case& c : cases) {
        const QString page = TemplatePreviewPage(c.text, c.kind, Caller(hostile));
        SCOPED_TRACE(page.toStdString());
        EXPECT_FALSE(page.contains(u"<script", Qt::CaseInsensitive));
        EXPECT_FALSE(page.contains(u"'>"));
        // The page's own quotes and closing tags are all there is.
        const QString withoutTag = QString(c.text).remove(CallerTag);
        if (c.kind == TTemplateKind::Html) {
            EXPECT_EQ(page.count(u'"'), withoutTag.count(u'"'));
            EXPECT_EQ(page.count(u"</"), withoutTag.count(u"</"));
        } else {
            EXPECT_EQ(page.count(u"</pre>"), 1);
            EXPECT_FALSE(page.contains(u"<b>"));
            EXPECT_TRUE(page.contains(u"&lt;/pre&gt;"));
        }
    }
}
