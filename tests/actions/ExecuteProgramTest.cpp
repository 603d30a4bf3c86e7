// SPDX-License-Identifier: GPL-3.0-or-later

#include "ScopedEnvironment.h"
#include "TestActions.h"
#include "TestFiles.h"
#include "TraceCapture.h"

#include "actions/ActionExecuteProgram.h"
#include "actions/ActionStopper.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterUser.h"

#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>

namespace {

// Runs program actions on a call and reads what the started program was given
// (tests/data/record-arguments writes its arguments to a file).
class ExecuteProgramTest : public ::testing::Test
{
protected:
    TActionExecuteProgram* Program(const QString& path, const QString& fixedText, bool withCaller = true)
    {
        auto* action = new TActionExecuteProgram;
        action->SetProgramPath(path);
        action->SetWaitForTerminate(true);
        if (!fixedText.isEmpty()) {
            auto* text = new TParameterUser;
            text->SetParameterValue(fixedText);
            action->AddNewItem(text);
        }
        if (withCaller) {
            auto* caller = new TParameterOrvix;
            caller->SetParameterValue(QStringLiteral("orvixCallerName"));
            action->AddNewItem(caller);
        }
        return action;
    }

    RecordingAction* Action(const QString& name) { return new RecordingAction(name, log); }

    void Run(std::initializer_list<TBaseObject*> items)
    {
        for (TBaseObject* item : items)
            sequence.AddNewItem(item);
        sequence.ExecuteActions(line);
    }

    // The arguments the recorder was started with; empty when it never ran.
    QStringList RecordedArguments() const
    {
        const QByteArray recorded = ReadFile(argumentsFile);
        QStringList arguments;
        for (const QByteArray& argument : recorded.split('\0'))
            arguments.append(QString::fromUtf8(argument));
        arguments.removeLast();
        return arguments;
    }

    QTemporaryDir folder;
    const QString argumentsFile = folder.filePath(QStringLiteral("arguments"));
    const ScopedEnvironment recordTo {"KESTRUN_ARGUMENTS_FILE", argumentsFile.toUtf8()};
    const QString recorder = TestDataFile(QStringLiteral("record-arguments"));
    TraceCapture trace;
    QStringList log;
    TActionSequence sequence;
    std::shared_ptr<TOrvixLine> line = std::make_shared<TOrvixLine>();
};

class CallerNameTest : public ExecuteProgramTest, public ::testing::WithParamInterface<const char*>
{
};

// Neither the program route nor the script route may let a caller's name add an
// argument or run a command.
TEST_P(CallerNameTest, ReachesTheProgramAsOneUnchangedArgument)
{
    const QString touched = folder.filePath(QStringLiteral("X"));
    const QString name = QString::fromUtf8(GetParam()).replace(QStringLiteral("X"), touched);
    line->SetCallerName(name);
    const QString script = folder.filePath(QStringLiteral("record.sh"));
    ASSERT_TRUE(QFile::copy(recorder, script));

    for (const QString& path : {recorder, script}) {
        QFile::remove(argumentsFile);
        sequence.ClearList();
        Run({Program(path, QStringLiteral("--caller "))});
        EXPECT_EQ(RecordedArguments(), (QStringList {"--caller", name})) << path.toStdString();
    }
    EXPECT_FALSE(QFile::exists(touched));
}

INSTANTIATE_TEST_SUITE_P(ShellMetacharacters, CallerNameTest,
                         ::testing::Values("\"; touch X; \"", "$(touch X)", "`touch X`", "a | touch X", "a; touch X",
                                           "Anna\ntouch X", "'O'Neil' \"Bob\"", "%HOME%"));

TEST_F(ExecuteProgramTest, ProgramPathExpandsEnvironmentReferences)
{
    const ScopedEnvironment home("HOME", folder.path().toUtf8());
    ASSERT_TRUE(QFile::copy(recorder, folder.filePath(QStringLiteral("tool.sh"))));
    line->SetCallerName(QStringLiteral("Anna"));
    Run({Program(QStringLiteral("%HOME%/tool.sh"), {})});
    EXPECT_EQ(RecordedArguments(), QStringList {"Anna"});
    EXPECT_EQ(trace.LastValue("ActionExecuteProgram::ExecuteAction:Command line"),
              "\"/bin/sh\" \"" + folder.filePath(QStringLiteral("tool.sh")) + "\" Anna");
}

TEST_F(ExecuteProgramTest, CancelledActionStartsNothing)
{
    TActionExecuteProgram* program = Program(recorder, {});
    program->AddNewItem(new ScriptedParameter({}, ScriptedParameter::Cancel));
    Run({program});
    EXPECT_FALSE(QFile::exists(argumentsFile));
    EXPECT_FALSE(trace.Has("ActionExecuteProgram::ExecuteAction:Creating process"));
}

// The wait runs the event loop: here a timer of the test is what lets the program end.
TEST_F(ExecuteProgramTest, WaitingForTheProgramKeepsEventsFlowing)
{
    const QString go = folder.filePath(QStringLiteral("go"));
    QTimer::singleShot(0, [&] { WriteFile(go, {}); });
    Run({Program(QStringLiteral("/bin/sh"),
                 "-c \"while [ ! -e '" + go + "' ]; do sleep 0.02; done; touch '" + go + "-seen'\"", false),
         Action("after")});
    EXPECT_TRUE(QFile::exists(go + "-seen")) << "the action returned before the program ended";
    EXPECT_EQ(log, QStringList {"after"});
}

struct FailureCase
{
    const char* name;
    const char* path;
    const char* trace;
};

void PrintTo(const FailureCase& failure, std::ostream* out)
{
    *out << failure.name;
}

class ProgramFailureTest : public ExecuteProgramTest, public ::testing::WithParamInterface<FailureCase>
{
};

// A following stopper that reacts on failure ends the sequence.
TEST_P(ProgramFailureTest, FailsTheActionForAFollowingStopper)
{
    const ScopedEnvironment path("PATH", folder.path().toUtf8());
    auto* stopper = new TActionStopper;
    stopper->SetBlockOnSuccess(false);
    stopper->SetBlockAllActions(true);
    Run({Program(QString::fromUtf8(GetParam().path), {}, false), stopper, Action("after")});
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(trace.Has(GetParam().trace));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramFailureTest,
    ::testing::Values(FailureCase {"MissingProgram", "/nonexistent/program",
                                   "ActionExecuteProgram::ExecuteAction:Error creating process"},
                      FailureCase {"MissingInterpreter", "/opt/scripts/lookup.py",
                                   "ActionExecuteProgram::ExecuteAction:Script interpreter not installed"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

} // namespace
