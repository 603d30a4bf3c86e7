// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/HtmlValueEncoding.h"

#include <QRegularExpression>

namespace {

bool IsSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool IsAsciiAlphanumeric(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

QString Hex(char16_t c, int width)
{
    return QStringLiteral("%1").arg(uint(c), width, 16, QLatin1Char('0')).toUpper();
}

QString TextReferences(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\'':
            out += QStringLiteral("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Every ASCII character but letters and digits as a reference: blanks, "=" and "`"
// end unquoted values, quotes end quoted ones.
QString AttributeReferences(const QString& value)
{
    QString out;
    out.reserve(value.size() * 2);
    for (const QChar c : value) {
        if (c.unicode() < 0x80 && !IsAsciiAlphanumeric(c.unicode()))
            out += QStringLiteral("&#x") + Hex(c.unicode(), 2) + u';';
        else
            out += c;
    }
    return out;
}

// \uXXXX for all but letters, digits and blanks: valid in JavaScript and JSON
// strings, and neither a quote, a backslash, "</script" nor a line end survives.
QString ScriptEscapes(const QString& value)
{
    QString out;
    out.reserve(value.size() * 2);
    for (const QChar c : value) {
        if (IsAsciiAlphanumeric(c.unicode()) || c == u' ')
            out += c;
        else
            out += QStringLiteral("\\u") + Hex(c.unicode(), 4);
    }
    return out;
}

QString StyleEscapes(const QString& value)
{
    QString out;
    for (const QChar c : value) {
        if (IsAsciiAlphanumeric(c.unicode()) || c.unicode() >= 0x80)
            out += c;
        else
            out += u'\\' + Hex(c.unicode(), 6);
    }
    return out;
}

// Browsers drop blanks and control characters in a scheme ("java\tscript:").
bool HasForeignScheme(const QString& value)
{
    QString compact;
    for (const QChar c : value) {
        if (c.unicode() > 0x20)
            compact += c;
    }
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    const QRegularExpressionMatch match = scheme.match(compact);
    if (!match.hasMatch())
        return false;
    const QString name = match.captured().chopped(1).toLower();
    return name != u"http" && name != u"https" && name != u"mailto" && name != u"tel";
}

bool IsUrlAttribute(const QString& name)
{
    static const QStringList names {
        QStringLiteral("href"),       QStringLiteral("src"),        QStringLiteral("action"),
        QStringLiteral("formaction"), QStringLiteral("xlink:href"), QStringLiteral("data"),
        QStringLiteral("poster"),     QStringLiteral("background"), QStringLiteral("cite"),
        QStringLiteral("srcdoc"),     QStringLiteral("codebase"),   QStringLiteral("manifest")};
    return names.contains(name);
}

} // namespace

void THtmlContextTracker::Advance(QStringView text)
{
    for (const QChar c : text)
        Step(c);
}

void THtmlContextTracker::AdvanceOverValue()
{
    // Stands for the value: a letter, which ends no context but starts a link.
    Step(u'x');
}

THtmlContext THtmlContextTracker::Context() const
{
    switch (m_state) {
    case TState::Data:
    case TState::Comment:
    case TState::Bogus:
    case TState::EndTag:
        return THtmlContext::Text;
    case TState::TagOpen:
    case TState::TagName:
    case TState::BeforeAttributeName:
    case TState::AttributeName:
    case TState::AfterAttributeName:
        return THtmlContext::InsideTag;
    case TState::BeforeAttributeValue:
    case TState::AttributeValueDouble:
    case TState::AttributeValueSingle:
    case TState::AttributeValueUnquoted:
        if (m_attributeName.startsWith(u"on"))
            return THtmlContext::EventHandler;
        if (IsUrlAttribute(m_attributeName) && !m_valueStarted)
            return THtmlContext::UrlStart;
        return THtmlContext::AttributeValue;
    case TState::RawText:
        return m_rawTextEnd == u"</style" ? THtmlContext::Style : THtmlContext::Script;
    }
    return THtmlContext::Text;
}

void THtmlContextTracker::EndOfStartTag()
{
    if (m_tagName == u"script" || m_tagName == u"style") {
        m_rawTextEnd = u"</" + m_tagName;
        m_state = TState::RawText;
    } else {
        m_state = TState::Data;
    }
    m_pending.clear();
}

void THtmlContextTracker::Step(QChar c)
{
    switch (m_state) {
    case TState::Data:
        if (c == u'<') {
            m_state = TState::TagOpen;
            m_pending = c;
        }
        return;
    case TState::TagOpen:
        m_pending += c;
        if (m_pending == u"<!--") {
            m_state = TState::Comment;
            m_pending.clear();
        } else if (m_pending == u"<!" || m_pending == u"<!-" || m_pending == u"</") {
            return;
        } else if (m_pending.startsWith(u"<!") || m_pending == u"<?") {
            m_state = TState::Bogus;
        } else if (m_pending.startsWith(u"</")) {
            m_state = c.isLetter() ? TState::EndTag : TState::Bogus;
        } else if (c.isLetter()) {
            m_state = TState::TagName;
            m_tagName = c.toLower();
        } else {
            m_state = TState::Data;
            Step(c);
        }
        return;
    case TState::TagName:
        if (IsSpace(c) || c == u'/')
            m_state = TState::BeforeAttributeName;
        else if (c == u'>')
            EndOfStartTag();
        else
            m_tagName += c.toLower();
        return;
    case TState::EndTag:
    case TState::Bogus:
        if (c == u'>')
            m_state = TState::Data;
        return;
    case TState::BeforeAttributeName:
    case TState::AfterAttributeName:
        if (c == u'>') {
            EndOfStartTag();
        } else if (c == u'=' && m_state == TState::AfterAttributeName) {
            m_state = TState::BeforeAttributeValue;
            m_valueStarted = false;
        } else if (!IsSpace(c) && c != u'/') {
            m_state = TState::AttributeName;
            m_attributeName = c.toLower();
        }
        return;
    case TState::AttributeName:
        if (c == u'=') {
            m_state = TState::BeforeAttributeValue;
            m_valueStarted = false;
        } else if (IsSpace(c)) {
            m_state = TState::AfterAttributeName;
        } else if (c == u'>') {
            EndOfStartTag();
        } else if (c == u'/') {
            m_state = TState::BeforeAttributeName;
        } else {
            m_attributeName += c.toLower();
        }
        return;
    case TState::BeforeAttributeValue:
        if (c == u'"') {
            m_state = TState::AttributeValueDouble;
        } else if (c == u'\'') {
            m_state = TState::AttributeValueSingle;
        } else if (c == u'>') {
            EndOfStartTag();
        } else if (!IsSpace(c)) {
            m_state = TState::AttributeValueUnquoted;
            m_valueStarted = true;
        }
        return;
    case TState::AttributeValueDouble:
    case TState::AttributeValueSingle:
        if (c == (m_state == TState::AttributeValueDouble ? u'"' : u'\''))
            m_state = TState::BeforeAttributeName;
        else if (!IsSpace(c))
            m_valueStarted = true;
        return;
    case TState::AttributeValueUnquoted:
        if (IsSpace(c))
            m_state = TState::BeforeAttributeName;
        else if (c == u'>')
            EndOfStartTag();
        return;
    case TState::Comment:
        m_pending += c;
        if (m_pending.endsWith(u"-->")) {
            m_state = TState::Data;
            m_pending.clear();
        } else if (m_pending.size() > 3) {
            m_pending.remove(0, m_pending.size() - 3);
        }
        return;
    case TState::RawText:
        m_pending += c.toLower();
        if (!m_rawTextEnd.startsWith(m_pending)) {
            m_pending.clear();
            if (c == u'<')
                m_pending = c;
        } else if (m_pending == m_rawTextEnd) {
            // The end tag's own ">" and anything before it.
            m_state = TState::EndTag;
            m_pending.clear();
        }
        return;
    }
}

QString EncodeForHtml(const QString& value, THtmlContext context)
{
    switch (context) {
    case THtmlContext::Text:
        return TextReferences(value);
    case THtmlContext::InsideTag:
    case THtmlContext::AttributeValue:
        return AttributeReferences(value);
    case THtmlContext::UrlStart:
        return AttributeReferences(HasForeignScheme(value) ? QStringLiteral("./") + value : value);
    case THtmlContext::EventHandler:
        // The browser reads the attribute's references first, then runs the script.
        return AttributeReferences(ScriptEscapes(value));
    case THtmlContext::Script:
        return ScriptEscapes(value);
    case THtmlContext::Style:
        return StyleEscapes(value);
    }
    return TextReferences(value);
}

QString ProduceHtmlPage(QStringView text, const TTagHandler& handler)
{
    QString page;
    page.reserve(text.size());
    THtmlContextTracker tracker;
    qsizetype copied = 0;
    for (const TTemplateTag& tag : ScanTemplateTags(text)) {
        const QStringView literal = text.mid(copied, tag.Start - copied);
        page += literal;
        tracker.Advance(literal);
        page += EncodeForHtml(handler(tag.Name, tag.Attributes), tracker.Context());
        tracker.AdvanceOverValue();
        copied = tag.Start + tag.Length;
    }
    page += text.mid(copied);
    return page;
}
