// The program itself, started as a desktop session would start it and ended with
// the signal that ends a session: what happens to the rules file on the way.
#include "TestFiles.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QByteArray Utf8(const QString& text)
{
    return text.toUtf8();
}

class StartStop : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_environment.insert(QStringLiteral("TMPDIR"), m_root.filePath(QStringLiteral("tmp")));
        SetConfigHome(m_root.filePath(QStringLiteral("config")));
        QDir().mkpath(m_root.filePath(QStringLiteral("tmp")));
    }

    void SetConfigHome(const QString& path)
    {
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path);
        m_dataFolder = path + QStringLiteral("/Kestrun/EventController for OrvixIt!");
    }

    QString DataFile(const QString& name) const { return m_dataFolder + u'/' + name; }
    QString RootFile(const QString& name) const { return m_root.filePath(name); }
    QByteArray TraceText() const
    {
        return ReadFile(m_root.filePath(QStringLiteral("tmp/Kestrun/Traces/KestrunEventControllerForOrvixIt.sil")));
    }

    // Starts the program, lets it finish its start-up sequence and sends it the signal;
    // returns the exit code, or -1 when it did not end normally.
    int RunUntilSignal(int signalNumber)
    {
        QProcess app;
        app.setProcessEnvironment(m_environment);
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(QStringLiteral(KESTRUN_APP_PATH), {});
        if (!app.waitForStarted())
            return -1;
        // The signal handler is in place before the start-up trace entry is written.
        const QDeadlineTimer patience(60000);
        while (!TraceText().contains("Main::FormCreate:DataPathUserSettingsFile") && !patience.hasExpired() &&
               app.state() == QProcess::Running)
            QThread::msleep(20);
        ::kill(pid_t(app.processId()), signalNumber);
        if (!app.waitForFinished(60000) || app.exitStatus() != QProcess::NormalExit)
            return -1;
        return app.exitCode();
    }

    QTemporaryDir m_root;
    QProcessEnvironment m_environment;
    QString m_dataFolder;
};

} // namespace

TEST_P(StartStop, LoadsTheRulesAtStartAndSavesThemAtTheEnd)
{
    ASSERT_TRUE(QDir().mkpath(m_dataFolder));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(KESTRUN_TEST_DATA "/rules_mixed_case.xml"), DataFile(QStringLiteral("rules.xml"))));
    QFile leftover(DataFile(QStringLiteral("{0A1B2C}.HTMLTemplate.html")));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    EXPECT_EQ(RunUntilSignal(GetParam()), 0);

    const QByteArray trace = TraceText();
    const qsizetype loaded = trace.indexOf("Parameters::LoadRulesFromXML:Rule: = Kunde");
    const qsizetype closed = trace.indexOf("Main::FormClose:Application shut down");
    EXPECT_GE(loaded, 0);
    EXPECT_GT(closed, loaded);
    EXPECT_TRUE(trace.contains(Utf8(u"Main::FormCreate:DataPathRulesFile = " + DataFile("rules.xml"))));
    EXPECT_TRUE(trace.contains(Utf8(u"Main::FormCreate:DataPathUserSettingsFile = " + DataFile("usersettings.xml"))));
    EXPECT_FALSE(QFile::exists(leftover.fileName()));
    // Saved at the end, in the program's own spelling.
    const QByteArray saved = ReadFile(DataFile(QStringLiteral("rules.xml")));
    EXPECT_TRUE(saved.contains("<TimeOutSec>12</TimeOutSec>"));
    EXPECT_TRUE(saved.contains("<Name>Kunde</Name>"));
}

// The program still ends normally, but with a failure status: the rules are lost.
TEST_P(StartStop, AFailedSaveIsTracedAndEndsTheProgramWithAFailureStatus)
{
    // A file where the configuration folder should be: the data folder cannot exist.
    QFile blocker(RootFile(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetConfigHome(blocker.fileName());

    EXPECT_EQ(RunUntilSignal(GetParam()), 1);
    EXPECT_TRUE(TraceText().contains(Utf8(u"Main::FormClose:Cannot save File " + DataFile("rules.xml"))));
}

using StartupRules = StartStop;

TEST_F(StartupRules, ActiveProgramStartRulesRunOnceAfterTheControllerExists)
{
    ASSERT_TRUE(QDir().mkpath(m_dataFolder));
    {
        TParameters model;
        auto* sequence = new TActionSequence;
        model.ActionSequences().AddNewItem(sequence);
        for (const char* name : {"Beim Start", "Nicht aktiv", "Nur bei Anrufen"}) {
            auto* rule = new TRule;
            rule->SetName(QString::fromUtf8(name));
            rule->SetCallOptionBase({cobApplicationStart});
            rule->AddNewItem(sequence);
            model.Rules().AddNewItem(rule);
        }
        model.Rules().Item<TRule>(1)->SetActive(false);
        model.Rules().Item<TRule>(2)->SetCallOptionBase({cobIn});
        ASSERT_TRUE(model.SaveObjectsToXMLFile(DataFile(QStringLiteral("rules.xml"))));
    }

    EXPECT_EQ(RunUntilSignal(SIGTERM), 0);
    const QByteArray trace = TraceText();
    EXPECT_EQ(trace.count("Rule::ExecuteRule:Executing rule = Beim Start"), 1);
    EXPECT_FALSE(trace.contains("Rule::ExecuteRule:Executing rule = Nicht aktiv"));
    EXPECT_FALSE(trace.contains("Rule::ExecuteRule:Executing rule = Nur bei Anrufen"));
    EXPECT_GT(trace.indexOf("Rule::ExecuteRule:Executing rule = Beim Start"),
              trace.indexOf("Main::FormCreate:DataPathUserSettingsFile"));
}

INSTANTIATE_TEST_SUITE_P(Signals, StartStop, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == SIGTERM ? "SIGTERM" : "SIGINT";
                         });

TEST_F(StartStop, TheGlobalTemplateReplacesTheRulesBeforeTheyAreLoaded)
{
    const QString templateFolder = RootFile(QStringLiteral("template"));
    ASSERT_TRUE(QDir().mkpath(templateFolder));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KESTRUN_TEST_DATA "/rules_mixed_case.xml"),
                            templateFolder + QStringLiteral("/rules.xml")));
    ASSERT_TRUE(QDir().mkpath(m_dataFolder));
    QFile own(DataFile(QStringLiteral("rules.xml")));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("<EventController><AllActionSequences/><AllRules/></EventController>");
    own.close();
    QFile options(m_environment.value(QStringLiteral("XDG_CONFIG_HOME")) +
                  QStringLiteral("/Kestrun/Event Controller for OrvixIt.ini"));
    ASSERT_TRUE(options.open(QIODevice::WriteOnly));
    options.write(Utf8(u"[Storage]\nUseGlobalTemplate=1\nGlobalTemplatePath=" + templateFolder + u'\n'));
    options.close();

    EXPECT_EQ(RunUntilSignal(SIGTERM), 0);

    const QByteArray trace = TraceText();
    const qsizetype copied = trace.indexOf("Main::CopyGlobalTemplateToLocalStorage:File = rules.xml");
    const qsizetype loaded = trace.indexOf("Parameters::LoadRulesFromXML:Rule: = Kunde");
    EXPECT_GE(copied, 0);
    EXPECT_GT(loaded, copied);
    EXPECT_TRUE(trace.contains("Main::GetStorageOptions:UseGlobalTemplate = 1"));
}
