// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/PageProducer.h"

#include <QString>
#include <QStringView>

// Where in an HTML page a value from a call lands. Each place ends its text at other
// characters, so each has its own encoding; a value then never leaves its place,
// whatever quotes or markup it holds.
enum class THtmlContext
{
    Text, // element content, comments, titles
    InsideTag, // between the attributes of a tag, where a value would become attributes
    AttributeValue, // a quoted or unquoted attribute value
    UrlStart, // the start of a link or source attribute ("href", "src" ...)
    EventHandler, // an "on..." attribute: script inside an attribute value
    Script, // inside a script element
    Style // inside a style element
};

/**
 * @brief Follows an HTML page as it is written, to know the context of the next value.
 *
 * A light tokenizer in the way browsers read pages: tags with their quoted and
 * unquoted attributes, comments, and the raw text of script and style elements.
 */
class THtmlContextTracker
{
public:
    // Reads text that goes into the page as it is.
    void Advance(QStringView text);
    // Reads a value that was put into the page in the current context.
    void AdvanceOverValue();
    THtmlContext Context() const;

private:
    enum class TState
    {
        Data,
        TagOpen,
        TagName,
        EndTag,
        BeforeAttributeName,
        AttributeName,
        AfterAttributeName,
        BeforeAttributeValue,
        AttributeValueDouble,
        AttributeValueSingle,
        AttributeValueUnquoted,
        Comment,
        Bogus,
        RawText
    };

    void Step(QChar c);
    void EndOfStartTag();

    TState m_state = TState::Data;
    QString m_pending; // characters still to decide on ("<!-", "</scr" ...)
    QString m_tagName; // the start tag being read, lower case
    QString m_attributeName; // the attribute being read, lower case
    bool m_valueStarted = false;
    QString m_rawTextEnd; // "</script" or "</style" while in their raw text
};

// The value encoded for its context: character references in text and attributes
// (both quotes, "<", ">", "&", and in attributes every character but letters and
// digits), JavaScript \u escapes in scripts (then character references in event
// attributes), CSS escapes in style elements. A link attribute that would start with
// a scheme other than http, https, mailto or tel gets "./" in front, so that a value
// can never make it a "javascript:" or "file:" link.
QString EncodeForHtml(const QString& value, THtmlContext context);

// The page with every tag replaced by what the handler returns for it, encoded for
// the place in the page where the tag stands.
QString ProduceHtmlPage(QStringView text, const TTagHandler& handler);
