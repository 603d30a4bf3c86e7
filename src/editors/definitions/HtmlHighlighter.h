// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/TemplateEditor_Core.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

/**
 * @brief Colours a template in the template editor: the tags, attribute names,
 * quoted values and comments of HTML, and, set apart from all of them, the
 * placeholder tags "<#...>" that stand for parameters, wherever they stand (also
 * inside a quoted value or a comment, where they are replaced all the same).
 *
 * A plain-text template has only placeholder tags to show. Tags, comments and
 * quoted values may run over several lines; the state at a line's end is kept as
 * the block state.
 */
class THtmlHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    THtmlHighlighter(QTextDocument* document, TTemplateKind kind);

    // The formats, for the tests that check where each is applied.
    const QTextCharFormat& TagFormat() const { return m_tag; }
    const QTextCharFormat& AttributeFormat() const { return m_attribute; }
    const QTextCharFormat& ValueFormat() const { return m_value; }
    const QTextCharFormat& CommentFormat() const { return m_comment; }
    const QTextCharFormat& TemplateTagFormat() const { return m_templateTag; }

protected:
    void highlightBlock(const QString& text) override;

private:
    enum TState
    {
        Text,
        Comment,
        InTag,
        DoubleQuoted,
        SingleQuoted,
        TemplateTag
    };

    qsizetype HighlightState(const QString& text, qsizetype i, TState& state, TState& afterTemplate);

    bool m_markup;
    QTextCharFormat m_tag;
    QTextCharFormat m_attribute;
    QTextCharFormat m_value;
    QTextCharFormat m_comment;
    QTextCharFormat m_templateTag;
};
