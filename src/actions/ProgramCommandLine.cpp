// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ProgramCommandLine.h"

#include "parameters/ParameterUser.h"

#include <array>
#include <utility>

namespace {

struct TPiece
{
    QString Text;
    bool Configured = false;
};

// A fixed text is the only result that comes from whoever wrote the rule.
bool IsConfiguredText(const TBaseParameter* parameter)
{
    const auto* user = qobject_cast<const TParameterUser*>(parameter);
    return user && !user->IsVariable();
}

bool IsTrailingJunk(QChar c)
{
    return c == QLatin1Char(' ') || c.category() == QChar::Other_Control;
}

// Drops trailing blanks and control characters from the joined results, which may
// reach back over several of them.
void TrimTrailing(QList<TPiece>& pieces)
{
    while (!pieces.isEmpty()) {
        QString& text = pieces.last().Text;
        while (!text.isEmpty() && IsTrailingJunk(text.back()))
            text.chop(1);
        if (!text.isEmpty())
            return;
        pieces.removeLast();
    }
}

QStringList Split(const QList<TPiece>& pieces)
{
    QStringList list;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (const TPiece& piece : pieces) {
        // An empty value makes no argument of its own, as on a command line.
        if (!piece.Configured) {
            word += piece.Text;
            inWord = inWord || !piece.Text.isEmpty();
            continue;
        }
        for (const QChar c : piece.Text) {
            if (c == QLatin1Char('"')) {
                quoted = !quoted;
                inWord = true;
            } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
                if (inWord)
                    list.append(std::exchange(word, {}));
                inWord = false;
            } else {
                word += c;
                inWord = true;
            }
        }
    }
    if (inWord)
        list.append(word);
    return list;
}

struct TScriptRow
{
    QLatin1StringView Ending;
    QLatin1StringView Interpreter;
    // Switches that go before the script path.
    QLatin1StringView Switches;
};

constexpr std::array ScriptRows {
    TScriptRow {QLatin1StringView(".vbs"), QLatin1StringView("wscript.exe"), QLatin1StringView("")},
    TScriptRow {QLatin1StringView(".ps1"), QLatin1StringView("powershell.exe"),
                QLatin1StringView("-ExecutionPolicy Unrestricted -File")},
    TScriptRow {QLatin1StringView(".cmd"), QLatin1StringView("cmd.exe"), QLatin1StringView("/C")},
    TScriptRow {QLatin1StringView(".sh"), QLatin1StringView("/bin/sh"), QLatin1StringView("")},
    TScriptRow {QLatin1StringView(".py"), QLatin1StringView("python3"), QLatin1StringView("")},
    TScriptRow {QLatin1StringView(".pl"), QLatin1StringView("perl"), QLatin1StringView("")},
};

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

TProgramArguments::TProgramArguments(const QList<TParamResult>& results)
{
    QList<TPiece> pieces;
    for (const TParamResult& result : results)
        pieces.append({result.Result, IsConfiguredText(result.Parameter)});
    TrimTrailing(pieces);
    for (const TPiece& piece : pieces)
        m_text += piece.Text;
    m_list = Split(pieces);
}

TProgramCommandLine BuildProgramCommandLine(const QString& path, const TProgramArguments& arguments)
{
    for (const TScriptRow& row : ScriptRows) {
        if (!path.endsWith(row.Ending, Qt::CaseSensitive))
            continue;
        const QString switches = row.Switches.isEmpty() ? QString() : QString(row.Switches) + QLatin1Char(' ');
        return {row.Interpreter,
                QString(row.Switches).split(QLatin1Char(' '), Qt::SkipEmptyParts) << path << arguments.List(),
                Quoted(row.Interpreter) + QLatin1Char(' ') + switches + Quoted(path) + QLatin1Char(' ') +
                    arguments.Text(),
                true};
    }
    return {path, arguments.List(), Quoted(path) + QLatin1Char(' ') + arguments.Text(), false};
}
