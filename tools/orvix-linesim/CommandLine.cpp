// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"

#include "LineSimError.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <vector>

namespace {

struct OptionDef
{
    const char* name;
    const char* valueName; // nullptr for a flag
    bool required = false;
    const char* excludes = nullptr; // a flag that cannot be combined with this one
};

struct CommandDef
{
    const char* name;
    std::vector<OptionDef> options;
    const char* argument; // the one positional argument, or nullptr
    const char* summary;
    bool scenarioOnly = false;
};

const std::vector<CommandDef>& commands()
{
    // The one place a command is declared: parsing, scenario files and --help all read it.
    static const std::vector<CommandDef> table {
        {"serve",
         {{"--lines", "N"},
          {"--country-code", "CC"},
          {"--area-code", "AC"},
          {"--extension-length", "N"},
          {"--terminated-ms", "MS"}},
         nullptr,
         "Runs the simulated softphone until \"quit\", SIGTERM or SIGINT (defaults: 4 lines, country code 49, area "
         "code 30, extensions of up to 4 digits, an ended call shows LSTerminated for 1000 ms before the line goes "
         "LSInactive)."},
        {"incoming",
         {{"--line", "L", true},
          {"--number", "NUM", true},
          {"--name", "NAME"},
          {"--extension", "EXT"},
          {"--called-name", "NAME"},
          {"--internal", nullptr, false, "--external"},
          {"--external", nullptr, false, "--internal"}},
         nullptr,
         "A call arrives on the idle line L, which rings. EXT and the called name are the user's side; without "
         "--internal or --external the network leaves it open."},
        {"answer", {{"--line", "L", true}}, nullptr, "The user takes the ringing call."},
        {"hangup", {{"--line", "L", true}}, nullptr, "The other party hangs up: terminated, then idle."},
        {"outgoing",
         {{"--line", "L", true}, {"--number", "NUM", true}, {"--extension", "EXT"}},
         nullptr,
         "The user dials NUM on the idle line L (from the own extension EXT): dialing, then alerting."},
        {"call",
         {{"--number", "NUM", true}, {"--line", "L"}},
         nullptr,
         "Places a call to NUM through the line manager, as the event controller's call-back does: on line L "
         "(default: the first idle line), dialing, then alerting. Prints the line used."},
        {"remote-answer", {{"--line", "L", true}}, nullptr, "The called party answers the alerting call."},
        {"remote-busy", {{"--line", "L", true}}, nullptr, "The called party is busy."},
        {"hold", {{"--line", "L", true}}, nullptr, "Puts the active call on hold."},
        {"retrieve", {{"--line", "L", true}}, nullptr, "Takes the held call back."},
        {"transfer",
         {{"--line", "L", true}, {"--number", "NUM", true}, {"--name", "NAME"}},
         nullptr,
         "The call is transferred: the other party becomes NUM."},
        {"dial",
         {{"--line", "L", true}, {"--digits", "DIGITS", true}},
         nullptr,
         "Sends DTMF digits (0-9 * # A-D) into the active call."},
        {"group-call",
         {{"--number", "NUM", true},
          {"--name", "NAME"},
          {"--called-name", "NAME"},
          {"--called-extension", "EXT"},
          {"--redirected-from-number", "NUM"},
          {"--redirected-from-name", "NAME"}},
         nullptr,
         "Signals a call to the user's pickup group."},
        {"group-call-end", {}, nullptr, "Withdraws the signalled group call."},
        {"pickup",
         {{"--line", "L"}},
         nullptr,
         "Picks the signalled group call up on line L (default: the first idle line)."},
        {"state", {{"--line", "L", true}}, nullptr, "Prints the line's properties, one \"Name: value\" per line."},
        {"play", {}, "FILE", "Runs a scenario file (see below)."},
        {"quit", {}, nullptr, "Stops the running simulator."},
        {"sleep", {}, "MS", "Waits MS milliseconds.", true},
    };
    return table;
}

const CommandDef* findCommand(const QString& name)
{
    for (const CommandDef& def : commands()) {
        if (name == QLatin1String(def.name))
            return &def;
    }
    return nullptr;
}

const OptionDef* findOption(const CommandDef& command, const QString& name)
{
    for (const OptionDef& option : command.options) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

QString synopsis(const CommandDef& command)
{
    QString text = QLatin1String(command.name);
    for (const OptionDef& option : command.options) {
        if (option.excludes && qstrcmp(option.name, option.excludes) < 0)
            continue; // written together with its partner below
        QString part = QLatin1String(option.name);
        if (option.valueName)
            part += u' ' + QLatin1String(option.valueName);
        if (option.excludes)
            part += u'|' + QLatin1String(option.excludes);
        text += u' ' + (option.required ? part : u'[' + part + u']');
    }
    if (command.argument)
        text += u' ' + QLatin1String(command.argument);
    return text;
}

// Continuation lines start at continuationIndent (default: indent).
QString wrapped(const QString& text, int indent, int continuationIndent = -1, int width = 92)
{
    QString result;
    int column = 0;
    int lineIndent = indent;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (column > lineIndent && column + 1 + word.size() > width) {
            result += u'\n';
            column = 0;
            lineIndent = continuationIndent < 0 ? indent : continuationIndent;
        }
        if (column == 0) {
            result += QString(lineIndent, u' ');
            column = lineIndent;
        } else {
            result += u' ';
            ++column;
        }
        result += word;
        column += static_cast<int>(word.size());
    }
    return result;
}

QString seeHelp()
{
    return QStringLiteral(" (see %1 --help)").arg(QLatin1String(CommandLine::Program));
}

} // namespace

int ParsedCommand::intValue(const QString& option, int fallback) const
{
    if (!has(option))
        return fallback;
    bool ok = false;
    const int number = value(option).toInt(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("%1 needs a whole number, got '%2'").arg(option, value(option)));
    return number;
}

QStringList CommandLine::split(const QString& line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quote == u'\'') {
            if (c == u'\'')
                quote = QChar();
            else
                word += c;
        } else if (quote == u'"') {
            if (c == u'"')
                quote = QChar();
            else if (c == u'\\' && i + 1 < line.size() && (line.at(i + 1) == u'"' || line.at(i + 1) == u'\\'))
                word += line.at(++i);
            else
                word += c;
        } else if (c.isSpace()) {
            if (inWord)
                words.append(std::exchange(word, QString()));
            inWord = false;
        } else {
            inWord = true;
            if (c == u'\'' || c == u'"') {
                quote = c;
            } else if (c == u'\\') {
                if (i + 1 == line.size())
                    throw UsageError(QStringLiteral("backslash at the end of the line"));
                word += line.at(++i);
            } else {
                word += c;
            }
        }
    }
    if (!quote.isNull())
        throw UsageError(
            QStringLiteral("unterminated %1 quote").arg(QLatin1String(quote == u'"' ? "double" : "single")));
    if (inWord)
        words.append(word);
    return words;
}

ParsedCommand CommandLine::parse(const QStringList& words)
{
    if (words.isEmpty())
        throw UsageError(QStringLiteral("no command given") + seeHelp());
    const CommandDef* def = findCommand(words.first());
    if (!def)
        throw UsageError(QStringLiteral("unknown command '%1'").arg(words.first()) + seeHelp());

    ParsedCommand command;
    command.name = words.first();
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (!word.startsWith(QLatin1String("--"))) {
            if (!def->argument || !command.arguments.isEmpty())
                throw UsageError(QStringLiteral("unexpected argument '%1' for '%2'").arg(word, command.name) +
                                 seeHelp());
            command.arguments.append(word);
            continue;
        }
        const qsizetype equals = word.indexOf(u'=');
        const QString name = equals < 0 ? word : word.left(equals);
        const OptionDef* option = findOption(*def, name);
        if (!option)
            throw UsageError(QStringLiteral("unknown option %1 for '%2'").arg(name, command.name) + seeHelp());
        if (command.has(name))
            throw UsageError(QStringLiteral("option %1 given twice").arg(name));
        if (option->excludes && command.has(QLatin1String(option->excludes))) {
            throw UsageError(QStringLiteral("%1 and %2 cannot be combined").arg(QLatin1String(option->excludes), name));
        }
        QString value;
        if (!option->valueName) {
            if (equals >= 0)
                throw UsageError(QStringLiteral("option %1 takes no value").arg(name));
        } else if (equals >= 0) {
            value = word.mid(equals + 1);
            // A forgotten value must not swallow the next option; a value that starts with "--" can use --name=value.
        } else if (i + 1 < words.size() && !words.at(i + 1).startsWith(QLatin1String("--"))) {
            value = words.at(++i);
        } else {
            throw UsageError(
                QStringLiteral("option %1 needs a value (%2)").arg(name, QLatin1String(option->valueName)));
        }
        command.options.insert(name, value);
    }

    for (const OptionDef& option : def->options) {
        if (option.required && !command.has(QLatin1String(option.name))) {
            throw UsageError(QStringLiteral("'%1' needs %2 %3")
                                 .arg(command.name, QLatin1String(option.name), QLatin1String(option.valueName)));
        }
    }
    if (def->argument && command.arguments.isEmpty())
        throw UsageError(QStringLiteral("'%1' needs %2").arg(command.name, QLatin1String(def->argument)));
    return command;
}

QString CommandLine::helpText()
{
    QString text;
    QTextStream out(&text);
    out << "Usage: " << Program << " [--service NAME] COMMAND [OPTIONS]\n\n"
        << "A simulated OrvixIt! softphone on the D-Bus session bus. \"serve\" runs it; every other\n"
        << "command controls the running simulator. Lines are numbered from 0.\n\nCommands:\n";
    for (const CommandDef& def : commands()) {
        if (def.scenarioOnly)
            continue;
        out << wrapped(synopsis(def), 2, 4) << '\n' << wrapped(QLatin1String(def.summary), 6) << '\n';
    }
    out << "\nOptions:\n"
        << "  --service NAME  The simulator's bus name (default com.orvixit.Softphone); another name\n"
        << "                  lets several simulators, e.g. of tests, run side by side.\n"
        << "  --help          Prints this text.\n"
        << "\nScenario files (play): one command per line as above, without \"" << Program << "\",\n"
        << "quoted like in a shell ('...', \"...\", backslash). \"sleep MS\" waits MS milliseconds;\n"
        << "blank lines and lines starting with # are ignored. The first failing line stops the\n"
        << "run and is reported as FILE:LINE.\n"
        << "\nNumber conversion (ConvertNumber; CC country code, AC area code, N the longest\n"
        << "extension, all set with serve):\n"
        << "  style 2  the canonical form every number is stored and compared in, \"+CC...\":\n"
        << "           blanks and - / ( ) . are removed; then \"+...\" stays, \"00...\" becomes\n"
        << "           \"+...\", \"0...\" becomes \"+CC...\", a number of more than N digits becomes\n"
        << "           \"+CC\" AC number, a number of up to N digits (an internal extension) stays;\n"
        << "           anything else (letters, * or #) is returned exactly as given.\n"
        << "  style 1  the national form: the style 2 form with \"+CC\" written as \"0\" and any\n"
        << "           other \"+\" as \"00\"; extensions and other text as in style 2.\n"
        << "  style 0  the number exactly as given.\n"
        << "  With the defaults (49, 30, 4): \"030 / 123 45-67\" -> \"+49301234567\",\n"
        << "  \"1234567\" -> \"+49301234567\", \"0044 20 7946 0000\" -> \"+442079460000\", \"217\" -> \"217\";\n"
        << "  style 1 of \"+49301234567\" -> \"0301234567\". Caller numbers are kept as given;\n"
        << "  DispPeerNumberPublicFormat holds their style 2 form.\n"
        << "\nExit status: 0 done, 1 the command failed (the simulator refused it, no simulator\n"
        << "is running, the bus name is taken), 2 the command line was not understood.\n";
    return text;
}

void CommandLine::playScenario(const QString& path, const std::function<void(const ParsedCommand&)>& execute,
                               const std::function<void(int milliseconds)>& sleep)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw LineSimError(QStringLiteral("cannot read the scenario %1: %2").arg(path, file.errorString()));
    const QString name = QFileInfo(path).fileName();
    QTextStream in(&file);
    int lineNumber = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString where = QStringLiteral("%1:%2: ").arg(name).arg(lineNumber);
        try {
            const ParsedCommand command = parse(split(line));
            if (command.name == QLatin1String("serve") || command.name == QLatin1String("play"))
                throw UsageError(QStringLiteral("'%1' cannot be used in a scenario").arg(command.name));
            if (command.name == QLatin1String("sleep")) {
                bool ok = false;
                const int milliseconds = command.arguments.first().toInt(&ok);
                if (!ok || milliseconds < 0) {
                    throw UsageError(QStringLiteral("sleep needs a number of milliseconds, got '%1'")
                                         .arg(command.arguments.first()));
                }
                sleep(milliseconds);
            } else {
                execute(command);
            }
        } catch (const UsageError& e) {
            throw UsageError(where + e.message());
        } catch (const LineSimError& e) {
            throw LineSimError(where + e.message());
        }
    }
}
