// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ProgramCommandLine.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterUser.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct CommandLineCase
{
    const char* name;
    const char* path;
    // The parameter results: the rule's own fixed text ("-n "), or with a leading
    // "=" a value from the call ("=Anna").
    std::vector<const char*> pieces;
    const char* program;
    QStringList arguments;
    const char* text;
};

void PrintTo(const CommandLineCase& line, std::ostream* out)
{
    *out << line.name;
}

class ProgramCommandLineTest : public ::testing::TestWithParam<CommandLineCase>
{
protected:
    QList<TParamResult> Results(const std::vector<const char*>& pieces) const
    {
        QList<TParamResult> results;
        for (const char* piece : pieces) {
            const QString text = QString::fromUtf8(piece);
            if (text.startsWith(QLatin1Char('=')))
                results.append({&value, text.mid(1)});
            else
                results.append({&fixedText, text});
        }
        return results;
    }

    TParameterUser fixedText;
    TParameterOrvix value;
};

TEST_P(ProgramCommandLineTest, BuildsProgramArgumentsAndTracedText)
{
    const CommandLineCase& c = GetParam();
    const TProgramCommandLine line = BuildProgramCommandLine(c.path, TProgramArguments(Results(c.pieces)));
    EXPECT_EQ(line.Program, QString::fromUtf8(c.program));
    EXPECT_EQ(line.Arguments, c.arguments);
    EXPECT_EQ(line.Text, QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProgramCommandLineTest,
    ::testing::Values(
        CommandLineCase {"Program",
                         "/opt/lookup",
                         {"-n ", "=0301234"},
                         "/opt/lookup",
                         {"-n", "0301234"},
                         "\"/opt/lookup\" -n 0301234"},
        CommandLineCase {"NoParameters", "/opt/lookup", {}, "/opt/lookup", {}, "\"/opt/lookup\" "},
        CommandLineCase {"EmptyValues", "/opt/lookup", {"-n ", "=", "="}, "/opt/lookup", {"-n"}, "\"/opt/lookup\" -n"},
        CommandLineCase {"ValuesJoinWithNothingBetween", "/opt/x", {"=a", "=b"}, "/opt/x", {"ab"}, "\"/opt/x\" ab"},
        CommandLineCase {"ValueWithBlanksStaysOneArgument",
                         "/opt/x",
                         {"--name ", "=Anna Maria \"A\" "},
                         "/opt/x",
                         {"--name", "Anna Maria \"A\""},
                         "\"/opt/x\" --name Anna Maria \"A\""},
        CommandLineCase {"FixedTextQuotesGroup",
                         "/opt/x",
                         {"--title \"two words\" ", "=v"},
                         "/opt/x",
                         {"--title", "two words", "v"},
                         "\"/opt/x\" --title \"two words\" v"},
        CommandLineCase {"TrailingBlanksAndControlsAcrossResults",
                         "/opt/x",
                         {"=a", " \t", "=\r\n"},
                         "/opt/x",
                         {"a"},
                         "\"/opt/x\" a"},
        CommandLineCase {"PowerShell",
                         "/s/notify.ps1",
                         {"=Anna"},
                         "powershell.exe",
                         {"-ExecutionPolicy", "Unrestricted", "-File", "/s/notify.ps1", "Anna"},
                         "\"powershell.exe\" -ExecutionPolicy Unrestricted -File \"/s/notify.ps1\" Anna"},
        CommandLineCase {
            "VisualBasic", "/s/a.vbs", {"=x"}, "wscript.exe", {"/s/a.vbs", "x"}, "\"wscript.exe\" \"/s/a.vbs\" x"},
        CommandLineCase {
            "CommandScript", "/s/a.cmd", {"=x"}, "cmd.exe", {"/C", "/s/a.cmd", "x"}, "\"cmd.exe\" /C \"/s/a.cmd\" x"},
        CommandLineCase {"ShellScript", "/s/a.sh", {}, "/bin/sh", {"/s/a.sh"}, "\"/bin/sh\" \"/s/a.sh\" "},
        CommandLineCase {"Python", "/s/a.py", {"=x y"}, "python3", {"/s/a.py", "x y"}, "\"python3\" \"/s/a.py\" x y"},
        CommandLineCase {"Perl", "/s/a.pl", {"=x"}, "perl", {"/s/a.pl", "x"}, "\"perl\" \"/s/a.pl\" x"},
        CommandLineCase {"UpperCaseShIsAProgram", "/s/A.SH", {"=x"}, "/s/A.SH", {"x"}, "\"/s/A.SH\" x"},
        CommandLineCase {"UpperCaseVbsIsAProgram", "/s/A.VBS", {"=x"}, "/s/A.VBS", {"x"}, "\"/s/A.VBS\" x"}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) { return std::string(info.param.name); });

} // namespace
