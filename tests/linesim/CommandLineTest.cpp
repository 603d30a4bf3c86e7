// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"
#include "LineSimError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Qt::StringLiterals;

struct SplitCase
{
    const char* line;
    QStringList words;
};

void PrintTo(const SplitCase& c, std::ostream* out)
{
    *out << "split " << c.line;
}

class CommandLineSplit : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(CommandLineSplit, SplitsLikeAShell)
{
    EXPECT_EQ(CommandLine::split(QString::fromUtf8(GetParam().line)), GetParam().words) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineSplit,
                         ::testing::Values(SplitCase {"incoming --line 0 --name \"Anna Berg\"",
                                                      {"incoming", "--line", "0", "--name", "Anna Berg"}},
                                           SplitCase {"  spaced \t words  ", {"spaced", "words"}},
                                           SplitCase {"--name='Anna Berg'", {"--name=Anna Berg"}},
                                           SplitCase {"'it''s' \"a\"b", {"its", "ab"}},
                                           SplitCase {R"(--name "say \"hi\" \\ \n")",
                                                      {R"(--name)", R"(say "hi" \ \n)"}},
                                           SplitCase {R"('no \escape' a\ b \")", {R"(no \escape)", "a b", "\""}},
                                           SplitCase {"--name \"\" x", {"--name", "", "x"}},
                                           SplitCase {"Jürgen Ölbaum", {"Jürgen", "Ölbaum"}}, SplitCase {"", {}}));

TEST(CommandLine, SplitRejectsOpenQuotesAndTrailingBackslash)
{
    const auto message = [](const char* line) {
        try {
            CommandLine::split(QString::fromUtf8(line));
        } catch (const UsageError& e) {
            return e.message();
        }
        return u"no error"_s;
    };
    EXPECT_EQ(message("--name \"Anna"), u"unterminated double quote"_s);
    EXPECT_EQ(message("--name 'Anna"), u"unterminated single quote"_s);
    EXPECT_EQ(message("--name Anna\\"), u"backslash at the end of the line"_s);
}

TEST(CommandLine, ParsesOptionsFlagsAndArguments)
{
    const ParsedCommand incoming = CommandLine::parse(
        {u"incoming"_s, u"--line"_s, u"2"_s, u"--number=0301234567"_s, u"--internal"_s, u"--name"_s, u"-"_s});
    EXPECT_EQ(incoming.name, u"incoming"_s);
    EXPECT_EQ(incoming.intValue(u"--line"_s), 2);
    EXPECT_EQ(incoming.value(u"--number"_s), u"0301234567"_s);
    EXPECT_EQ(incoming.value(u"--name"_s), u"-"_s);
    EXPECT_TRUE(incoming.has(u"--internal"_s));
    EXPECT_FALSE(incoming.has(u"--external"_s));
    EXPECT_EQ(incoming.intValue(u"--extension"_s, -5), -5) << "the fallback of an absent option";

    const ParsedCommand play = CommandLine::parse({u"play"_s, u"my calls.txt"_s});
    EXPECT_EQ(play.arguments, QStringList {u"my calls.txt"_s});
}

struct ParseErrorCase
{
    QStringList words;
    const char* message;
};

void PrintTo(const ParseErrorCase& c, std::ostream* out)
{
    *out << "parse " << c.words.join(u' ').toStdString();
}

class CommandLineParseErrors : public ::testing::TestWithParam<ParseErrorCase>
{
};

TEST_P(CommandLineParseErrors, NamesTheProblem)
{
    try {
        const ParsedCommand command = CommandLine::parse(GetParam().words);
        command.intValue(u"--line"_s);
        FAIL() << "accepted: " << GetParam().words.join(u' ').toStdString();
    } catch (const UsageError& e) {
        EXPECT_EQ(e.message(), QString::fromUtf8(GetParam().message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineParseErrors,
    ::testing::Values(ParseErrorCase {{}, "no command given (see orvix-linesim --help)"},
                      ParseErrorCase {{"ring"}, "unknown command 'ring' (see orvix-linesim --help)"},
                      ParseErrorCase {{"answer"}, "'answer' needs --line L"},
                      ParseErrorCase {{"answer", "--line"}, "option --line needs a value (L)"},
                      ParseErrorCase {{"answer", "--line", "--number", "1"}, "option --line needs a value (L)"},
                      ParseErrorCase {{"answer", "--line", "one"}, "--line needs a whole number, got 'one'"},
                      ParseErrorCase {{"answer", "--line", "0", "--line", "1"}, "option --line given twice"},
                      ParseErrorCase {{"answer", "--lien", "0"},
                                      "unknown option --lien for 'answer' (see orvix-linesim --help)"},
                      ParseErrorCase {{"answer", "--line", "0", "now"},
                                      "unexpected argument 'now' for 'answer' (see orvix-linesim --help)"},
                      ParseErrorCase {{"incoming", "--line", "0", "--number", "1", "--external", "--internal"},
                                      "--external and --internal cannot be combined"},
                      ParseErrorCase {{"incoming", "--line", "0", "--number", "1", "--internal=yes"},
                                      "option --internal takes no value"},
                      ParseErrorCase {{"outgoing", "--line", "0"}, "'outgoing' needs --number NUM"},
                      ParseErrorCase {{"play"}, "'play' needs FILE"},
                      ParseErrorCase {{"play", "a.txt", "b.txt"},
                                      "unexpected argument 'b.txt' for 'play' (see orvix-linesim --help)"}));

TEST(CommandLine, HelpListsEveryCommandAndTheConversionRule)
{
    const QString help = CommandLine::helpText();
    for (const char* command : {"serve", "incoming", "answer", "hangup", "outgoing", "remote-answer", "remote-busy",
                                "hold", "transfer", "group-call", "state", "quit", "play"})
        EXPECT_TRUE(help.contains(u"\n  "_s + QLatin1String(command) + u' ') ||
                    help.contains(u"\n  "_s + QLatin1String(command) + u'\n'))
            << command;
    EXPECT_TRUE(help.contains(u"\"0...\" becomes \"+CC...\""_s));
    EXPECT_FALSE(help.contains(u"\n  sleep"_s)) << "sleep is for scenario files only";
}

class Scenario : public ::testing::Test
{
protected:
    QString write(const char* text)
    {
        const QString path = dir.filePath(u"calls.txt"_s);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return path;
    }

    // Plays the file, recording each step as "command:--option=value ..." and each pause as "sleep:MS".
    QString play(const QString& path, const std::function<void(const ParsedCommand&)>& onCommand = {})
    {
        CommandLine::playScenario(
            path,
            [&](const ParsedCommand& command) {
                QStringList options;
                for (auto it = command.options.cbegin(); it != command.options.cend(); ++it)
                    options.append(it.key() + u'=' + it.value());
                options.sort();
                steps.append(command.name + u':' + options.join(u' '));
                if (onCommand)
                    onCommand(command);
            },
            [&](int milliseconds) { steps.append(u"sleep:"_s + QString::number(milliseconds)); });
        return steps.join(u" | "_s);
    }

    QString failure(const char* text, const std::function<void(const ParsedCommand&)>& onCommand = {})
    {
        try {
            play(write(text), onCommand);
        } catch (const LineSimError& e) {
            return e.message();
        }
        return u"no error"_s;
    }

    QTemporaryDir dir;
    QStringList steps;
};

TEST_F(Scenario, RunsCommandsAndPausesInOrder)
{
    EXPECT_EQ(play(write("# a call\n"
                         "\n"
                         "incoming --line 0 --number 0301234567 --name \"Anna Berg\"\n"
                         "   # indented comment\n"
                         "sleep 250\n"
                         "answer --line 0\r\n"
                         "hangup --line 0")),
              u"incoming:--line=0 --name=Anna Berg --number=0301234567 | sleep:250 | answer:--line=0 | "
              "hangup:--line=0"_s);
}

TEST_F(Scenario, StopsAtTheFirstFailingLineAndNamesIt)
{
    EXPECT_EQ(failure("answer --line 0\n\nring --line 0\nhangup --line 0\n"),
              u"calls.txt:3: unknown command 'ring' (see orvix-linesim --help)"_s);
    EXPECT_EQ(steps, QStringList {u"answer:--line=0"_s}) << "nothing after the failing line runs";

    steps.clear();
    const auto refuseHangup = [](const ParsedCommand& command) {
        if (command.name == u"hangup"_s)
            throw SoftphoneError(SoftphoneError::Kind::NoCall, u"line 0 has no call"_s);
    };
    EXPECT_EQ(failure("# comment\nhangup --line 0\nanswer --line 0\n", refuseHangup),
              u"calls.txt:2: line 0 has no call"_s);
    EXPECT_EQ(steps.size(), 1);

    EXPECT_EQ(failure("sleep soon\n"), u"calls.txt:1: sleep needs a number of milliseconds, got 'soon'"_s);
    EXPECT_EQ(failure("sleep -5\n"), u"calls.txt:1: sleep needs a number of milliseconds, got '-5'"_s);
    EXPECT_EQ(failure("serve --lines 2\n"), u"calls.txt:1: 'serve' cannot be used in a scenario"_s);
    EXPECT_EQ(failure("play calls.txt\n"), u"calls.txt:1: 'play' cannot be used in a scenario"_s);
    EXPECT_EQ(failure("incoming --line 0 --name \"Anna\n"), u"calls.txt:1: unterminated double quote"_s);
}

TEST_F(Scenario, MissingFileIsAClearError)
{
    try {
        play(dir.filePath(u"absent.txt"_s));
        FAIL() << "no error";
    } catch (const LineSimError& e) {
        EXPECT_TRUE(e.message().startsWith(u"cannot read the scenario "_s)) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(u"absent.txt"_s));
    }
}

TEST_F(Scenario, ShippedDemoCallIsAValidScenario)
{
    play(QStringLiteral(ORVIX_LINESIM_SCENARIOS "/demo-call.txt"));
    QStringList commands;
    for (const QString& step : std::as_const(steps))
        commands.append(step.section(u':', 0, 0));
    EXPECT_EQ(commands, (QStringList {u"incoming"_s, u"sleep"_s, u"answer"_s, u"sleep"_s, u"hangup"_s}));
    EXPECT_TRUE(steps.first().contains(u"--name=Anna Berg"_s));
    EXPECT_TRUE(steps.first().contains(u"--number=0301234567"_s));
}

} // namespace
