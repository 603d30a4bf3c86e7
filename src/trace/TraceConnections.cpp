// SPDX-License-Identifier: GPL-3.0-or-later

#include "trace/TraceConnections.h"

#include "trace/Trace.h"

#include <QRegularExpression>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

enum class OptionType
{
    Text,
    Boolean,
    Seconds,
    Size
};

struct OptionRule
{
    QLatin1StringView name;
    OptionType type;
    bool required;
};

struct ProtocolRule
{
    QLatin1StringView name;
    QList<OptionRule> options;
};

// Values are checked while parsing, so that a bad one is reported with its position and
// the sinks can read them again without a second round of errors.
const QList<ProtocolRule>& ProtocolRules()
{
    static const QList<ProtocolRule> rules {
        {"file"_L1,
         {{"filename"_L1, OptionType::Text, true},
          {"maxsize"_L1, OptionType::Size, false},
          {"append"_L1, OptionType::Boolean, false}}},
        {"pipe"_L1,
         {{"pipename"_L1, OptionType::Text, false},
          {"reconnect"_L1, OptionType::Boolean, false},
          {"reconnect.interval"_L1, OptionType::Seconds, false}}},
    };
    return rules;
}

const ProtocolRule* FindProtocol(const QString& name)
{
    for (const ProtocolRule& rule : ProtocolRules()) {
        if (rule.name == name)
            return &rule;
    }
    return nullptr;
}

const OptionRule* FindOption(const ProtocolRule& protocol, const QString& name)
{
    for (const OptionRule& rule : protocol.options) {
        if (rule.name == name)
            return &rule;
    }
    return nullptr;
}

void CheckValue(OptionType type, const QString& value)
{
    switch (type) {
    case OptionType::Text:
        if (value.isEmpty())
            throw ETraceConfiguration(u"empty value"_s);
        break;
    case OptionType::Boolean:
        TraceOptionBool(value);
        break;
    case OptionType::Seconds:
        TraceOptionSeconds(value);
        break;
    case OptionType::Size:
        TraceOptionSizeBytes(value);
        break;
    }
}

bool IsNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'-';
}

bool IsBareValueChar(QChar c)
{
    return !c.isSpace() && c != u',' && c != u'(' && c != u')' && c != u'"' && c != u'=';
}

class Parser
{
public:
    explicit Parser(const QString& text)
        : m_text(text)
    {
    }

    QList<TraceConnection> Parse()
    {
        QList<TraceConnection> connections;
        SkipBlanks();
        if (AtEnd())
            return connections;
        for (;;) {
            connections.append(ParseProtocol());
            SkipBlanks();
            if (AtEnd())
                return connections;
            if (Current() != u',')
                Fail(u"expected \",\" between protocols"_s, m_pos);
            ++m_pos;
            SkipBlanks();
        }
    }

private:
    TraceConnection ParseProtocol()
    {
        const qsizetype namePos = m_pos;
        TraceConnection connection;
        connection.protocol = ReadName(u"a protocol name"_s);
        const ProtocolRule* rule = FindProtocol(connection.protocol);
        if (!rule)
            Fail(u"unknown protocol \""_s + connection.protocol + u'"', namePos);

        SkipBlanks();
        const qsizetype open = m_pos;
        if (AtEnd() || Current() != u'(')
            Fail(u"expected \"(\" after protocol \""_s + connection.protocol + u'"', m_pos);
        ++m_pos;
        SkipBlanks();
        RequireInside(open);
        if (Current() == u')') {
            ++m_pos;
        } else {
            for (;;) {
                ParseOption(*rule, connection, open);
                SkipBlanks();
                RequireInside(open);
                if (Current() == u')') {
                    ++m_pos;
                    break;
                }
                if (Current() != u',')
                    Fail(u"expected \",\" or \")\" after an option"_s, m_pos);
                ++m_pos;
                SkipBlanks();
                RequireInside(open);
            }
        }

        for (const OptionRule& option : rule->options) {
            if (option.required && !connection.options.contains(option.name))
                Fail(u"protocol \""_s + connection.protocol + u"\" needs the option \"" + option.name + u'"', namePos);
        }
        return connection;
    }

    void ParseOption(const ProtocolRule& protocol, TraceConnection& connection, qsizetype open)
    {
        const qsizetype namePos = m_pos;
        const QString name = ReadName(u"an option name"_s);
        const OptionRule* rule = FindOption(protocol, name);
        if (!rule)
            Fail(u"unknown option \""_s + name + u"\" of protocol \"" + connection.protocol + u'"', namePos);
        if (connection.options.contains(name))
            Fail(u"option \""_s + name + u"\" given twice"_s, namePos);

        SkipBlanks();
        RequireInside(open);
        if (Current() != u'=')
            Fail(u"missing \"=\" after option \""_s + name + u'"', m_pos);
        ++m_pos;
        SkipBlanks();
        RequireInside(open);

        const qsizetype valuePos = m_pos;
        const QString value = Current() == u'"' ? ReadQuoted() : ReadBare();
        if (value.isNull())
            Fail(u"missing value of option \""_s + name + u'"', valuePos);
        try {
            CheckValue(rule->type, value);
        } catch (const ETraceConfiguration& error) {
            Fail(u"option \""_s + name + u"\": " + error.Message(), valuePos);
        }
        connection.options.insert(name, value);
    }

    QString ReadName(const QString& what)
    {
        const qsizetype start = m_pos;
        if (AtEnd() || !IsNameStart(Current()))
            Fail(u"expected "_s + what, m_pos);
        while (!AtEnd() && IsNameChar(Current()))
            ++m_pos;
        return m_text.mid(start, m_pos - start).toLower();
    }

    // Null when there is no bare word here, so that a missing value is told from an empty one.
    QString ReadBare()
    {
        const qsizetype start = m_pos;
        while (!AtEnd() && IsBareValueChar(Current()))
            ++m_pos;
        return m_pos == start ? QString() : m_text.mid(start, m_pos - start);
    }

    QString ReadQuoted()
    {
        const qsizetype quote = m_pos++;
        QString value(u""_s);
        for (;;) {
            if (AtEnd())
                Fail(u"unterminated quote"_s, quote);
            const QChar c = m_text.at(m_pos++);
            if (c != u'"') {
                value += c;
            } else if (!AtEnd() && Current() == u'"') {
                value += c;
                ++m_pos;
            } else {
                return value;
            }
        }
    }

    void RequireInside(qsizetype open)
    {
        if (AtEnd())
            Fail(u"unterminated parenthesis"_s, open);
    }

    void SkipBlanks()
    {
        while (!AtEnd() && Current().isSpace())
            ++m_pos;
    }

    bool AtEnd() const { return m_pos >= m_text.size(); }
    QChar Current() const { return m_text.at(m_pos); }

    [[noreturn]] void Fail(const QString& what, qsizetype pos) const
    {
        const QString where =
            pos >= m_text.size() ? u"at the end (position %1)"_s.arg(pos + 1) : u"at position %1"_s.arg(pos + 1);
        throw ETraceConfiguration(u"Trace connections: "_s + what + u' ' + where);
    }

    const QString& m_text;
    qsizetype m_pos = 0;
};

} // namespace

QList<TraceConnection> ParseTraceConnections(const QString& text)
{
    return Parser(text).Parse();
}

bool TraceOptionBool(const QString& value)
{
    if (value.compare(u"true"_s, Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(u"false"_s, Qt::CaseInsensitive) == 0)
        return false;
    throw ETraceConfiguration(u"\""_s + value + u"\" is not true or false");
}

qint64 TraceOptionSizeBytes(const QString& value)
{
    static const QRegularExpression pattern(u"^\\s*([0-9]+)\\s*(KB|MB|GB)?\\s*$"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(value);
    bool isNumber = false;
    const qint64 count = match.hasMatch() ? match.captured(1).toLongLong(&isNumber) : 0;
    if (!isNumber)
        throw ETraceConfiguration(u"\""_s + value + u"\" is not a size in KiB, KB, MB or GB");

    const QString unit = match.captured(2).toUpper();
    const qint64 unitBytes = unit == u"GB"_s ? qint64(1) << 30 : unit == u"MB"_s ? qint64(1) << 20 : qint64(1) << 10;
    if (count <= 0)
        throw ETraceConfiguration(u"size \""_s + value + u"\" must be greater than 0");
    if (count > std::numeric_limits<qint64>::max() / unitBytes)
        throw ETraceConfiguration(u"size \""_s + value + u"\" is too large");
    return count * unitBytes;
}

std::chrono::milliseconds TraceOptionSeconds(const QString& value)
{
    static const QRegularExpression pattern(u"^\\s*[0-9]+\\s*$"_s);
    bool isNumber = false;
    const qint64 seconds = pattern.match(value).hasMatch() ? value.trimmed().toLongLong(&isNumber) : 0;
    if (!isNumber)
        throw ETraceConfiguration(u"\""_s + value + u"\" is not a number of seconds");
    if (seconds > std::numeric_limits<qint64>::max() / 1000)
        throw ETraceConfiguration(u"\""_s + value + u"\" seconds is too long");
    return std::chrono::seconds(seconds);
}
