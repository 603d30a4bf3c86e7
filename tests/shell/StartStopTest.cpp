// SPDX-License-Identifier: GPL-3.0-or-later

// The program itself, started as a desktop session would start it and ended with
// the signal that ends a session: what happens to the rules file on the way.
#include "DesktopToolStandIn.h"
#include "PrivateSessionBus.h"
#include "StallingSmtpServer.h"
#include "TestFiles.h"
#include "actions/ActionOutlookSendMail.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

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
        // The session: its private folder holds the lock, the hand-off socket and the trace.
        QDir().mkpath(RuntimeFile({}));
        QFile::setPermissions(RuntimeFile({}),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), RuntimeFile({}));
        m_environment.insert(QStringLiteral("XDG_SESSION_ID"), QStringLiteral("7"));
        m_environment.insert(QStringLiteral("USER"), QStringLiteral("anna"));
    }

    void SetConfigHome(const QString& path)
    {
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path);
        m_dataFolder = path + QStringLiteral("/Kestrun/EventController for OrvixIt!");
    }

    QString DataFile(const QString& name) const { return m_dataFolder + u'/' + name; }
    QString RootFile(const QString& name) const { return m_root.filePath(name); }
    QString RuntimeFile(const QString& name) const { return m_root.filePath(QStringLiteral("run/") + name); }
    QByteArray TraceText() const
    {
        return ReadFile(RuntimeFile(QStringLiteral("Kestrun/Traces/KestrunEventControllerForOrvixIt.sil")));
    }

    bool Start(QProcess& app, const QStringList& arguments = {})
    {
        app.setProcessEnvironment(m_environment);
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(QStringLiteral(KESTRUN_APP_PATH), arguments);
        return app.waitForStarted();
    }

    // Until the start-up sequence has traced the data paths: the instance lock and
    // the signal handler are in place before that.
    bool WaitUntilStarted(const QProcess& app) const
    {
        const QDeadlineTimer patience(60000);
        while (!TraceText().contains("Main::FormCreate:DataPathUserSettingsFile")) {
            if (patience.hasExpired() || app.state() != QProcess::Running)
                return false;
            QThread::msleep(20);
        }
        return true;
    }

    // The exit code, or -1 when the program did not end normally.
    static int Finish(QProcess& app)
    {
        if (!app.waitForFinished(60000) || app.exitStatus() != QProcess::NormalExit)
            return -1;
        return app.exitCode();
    }

    // Starts the program, lets it finish its start-up sequence and sends it the signal.
    int RunUntilSignal(int signalNumber)
    {
        QProcess app;
        if (!Start(app))
            return -1;
        WaitUntilStarted(app);
        ::kill(pid_t(app.processId()), signalNumber);
        return Finish(app);
    }

    QTemporaryDir m_root;
    QProcessEnvironment m_environment;
    QString m_dataFolder;
};

} // namespace

// Rules that did not change are not written at the end: the file stays as the user keeps it.
TEST_P(StartStop, LoadsTheRulesAtStartAndLeavesThemUnchangedAtTheEnd)
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
    EXPECT_TRUE(trace.contains("Main::FormClose:Rules unchanged, rules file left as it is"));
    EXPECT_EQ(ReadFile(DataFile(QStringLiteral("rules.xml"))),
              ReadFile(QStringLiteral(KESTRUN_TEST_DATA "/rules_mixed_case.xml")));
}

// The program still ends normally, but with a failure status: the rules are lost.
// Only a change is written at the end (the failure status of a failed save is the
// program's, see ProgramTest): without one, a data folder that cannot exist is no failure.
TEST_P(StartStop, AnUnwritableDataFolderWithoutAChangeEndsTheProgramNormally)
{
    // A file where the configuration folder should be: the data folder cannot exist.
    QFile blocker(RootFile(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetConfigHome(blocker.fileName());

    EXPECT_EQ(RunUntilSignal(GetParam()), 0);
    EXPECT_TRUE(TraceText().contains("Main::FormClose:Rules unchanged, rules file left as it is"));
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

namespace {

constexpr QLatin1StringView Service("de.kestrun.EventController");
constexpr QLatin1StringView ObjectPath("/EventController");
constexpr QLatin1StringView Interface("de.kestrun.EventController");

// Receives PropertiesChanged as a client of the program's interface does.
class PropertiesRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QVariantMap> changes;

public slots:
    void Record(const QString& /*interface*/, const QVariantMap& changed, const QStringList& /*invalidated*/)
    {
        changes << changed;
    }
};

void SaveRules(const QString& path, const QString& ruleName)
{
    TParameters model;
    auto* sequence = new TActionSequence;
    model.ActionSequences().AddNewItem(sequence);
    auto* rule = new TRule;
    rule->SetName(ruleName);
    rule->AddNewItem(sequence);
    model.Rules().AddNewItem(rule);
    ASSERT_TRUE(model.SaveObjectsToXMLFile(path));
}

bool WaitFor(const std::function<bool()>& done)
{
    const QDeadlineTimer patience(60000);
    while (!done()) {
        if (patience.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace

// The second start's hand-off needs neither a display nor a listener, and never
// disturbs the instance that runs.
TEST_F(StartStop, ASecondStartHandsItsArgumentOverAndLeavesTheFirstRunning)
{
    QProcess first;
    ASSERT_TRUE(Start(first));
    ASSERT_TRUE(WaitUntilStarted(first));
    QLocalServer reader;
    ASSERT_TRUE(reader.listen(RuntimeFile(QStringLiteral("kestrun-handoff-7anna"))));
    // A window would need this display, which does not exist.
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_environment.remove(QStringLiteral("DISPLAY"));
    m_environment.remove(QStringLiteral("WAYLAND_DISPLAY"));

    QProcess second;
    ASSERT_TRUE(Start(second, {QStringLiteral("eventcontroller:abc")}));
    EXPECT_EQ(Finish(second), 0);
    ASSERT_TRUE(reader.waitForNewConnection(10000));
    QLocalSocket* handedOver = reader.nextPendingConnection();
    QByteArray message;
    while (message.size() < 256 && handedOver->waitForReadyRead(10000))
        message += handedOver->readAll();
    EXPECT_EQ(message,
              QByteArray("\x03"
                         "abc") +
                  QByteArray(252, '\0'));

    reader.close();
    QProcess third;
    ASSERT_TRUE(Start(third, {QStringLiteral("eventcontroller:def")}));
    EXPECT_EQ(Finish(third), 0) << "nobody listens: the start ends all the same";

    EXPECT_EQ(first.state(), QProcess::Running);
    ::kill(pid_t(first.processId()), SIGTERM);
    EXPECT_EQ(Finish(first), 0);
}

TEST_F(StartStop, TheProgramsOwnInterfaceSwitchesReloadsAndQuitsLikeTheTrayMenu)
{
    ASSERT_TRUE(QDir().mkpath(m_dataFolder));
    const QString rulesFile = DataFile(QStringLiteral("rules.xml"));
    SaveRules(rulesFile, QStringLiteral("Kunde"));
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.Connection().isConnected());
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
    QProcess app;
    ASSERT_TRUE(Start(app));
    ASSERT_TRUE(WaitFor([&] { return bus.Connection().interface()->isServiceRegistered(Service).value(); }));

    QDBusInterface controller(Service, ObjectPath, Interface, bus.Connection());
    EXPECT_TRUE(controller.property("Active").toBool());
    PropertiesRecorder recorder;
    ASSERT_TRUE(bus.Connection().connect(Service, ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                         QStringLiteral("PropertiesChanged"), &recorder,
                                         SLOT(Record(QString, QVariantMap, QStringList))));
    EXPECT_EQ(controller.call(QStringLiteral("SetActive"), false).type(), QDBusMessage::ReplyMessage);
    EXPECT_FALSE(controller.property("Active").toBool());
    ASSERT_TRUE(WaitFor([&] { return !recorder.changes.isEmpty(); }));
    EXPECT_EQ(recorder.changes.at(0), (QVariantMap {{QStringLiteral("Active"), false}}));

    // The dialog does not hold up the answer, nor does a second request while it is open.
    for (int request = 0; request < 2; ++request)
        EXPECT_EQ(controller.call(QStringLiteral("ShowSettings")).type(), QDBusMessage::ReplyMessage);

    SaveRules(rulesFile, QStringLiteral("Neu"));
    EXPECT_EQ(controller.call(QStringLiteral("ReloadRules")).type(), QDBusMessage::ReplyMessage);
    QFile broken(rulesFile);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<EventController><AllRules>");
    broken.close();
    EXPECT_EQ(controller.call(QStringLiteral("ReloadRules")).errorName(),
              QStringLiteral("de.kestrun.EventController.Error.RulesNotLoaded"));

    // The answer comes once the shutdown is done. The model in force, the reloaded one,
    // did not change since: the file as the user left it on disk is not written over.
    EXPECT_EQ(controller.call(QStringLiteral("Quit")).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(ReadFile(rulesFile), "<EventController><AllRules>");
    EXPECT_EQ(Finish(app), 0);
}

// A mail sent at once to a server that never answers the end of the message: the
// program goes on answering on its interface meanwhile, and when the send fails the
// mail goes to the mail program. A Quit while the start-up rule still waits for that
// program ends the program.
TEST_F(StartStop, AStallingMailServerLeavesTheProgramAnsweringAndTheMailGoesToTheComposer)
{
    if (QProcess::execute(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")}) != 0)
        GTEST_SKIP() << "python3-aiosmtpd is not installed (scripts/install-deps installs it)";
    StallingSmtpServer server;
    ASSERT_TRUE(server.Ready());
    ASSERT_TRUE(QDir().mkpath(m_dataFolder));
    {
        TParameters model;
        auto* sequence = new TActionSequence;
        auto* mail = new TActionOutlookSendMail;
        mail->SetParameterList({QStringLiteral("1;Recipient;anna@example.org"), QStringLiteral("1;Subject;Start"),
                                QStringLiteral("0;CC;"), QStringLiteral("0;BCC;"), QStringLiteral("0;Template;")});
        mail->SetSendEMailImmediately(true);
        sequence->AddNewItem(mail);
        model.ActionSequences().AddNewItem(sequence);
        auto* rule = new TRule;
        rule->SetName(QStringLiteral("Start"));
        rule->SetCallOptionBase({cobApplicationStart});
        rule->AddNewItem(sequence);
        model.Rules().AddNewItem(rule);
        ASSERT_TRUE(model.SaveObjectsToXMLFile(DataFile(QStringLiteral("rules.xml"))));
    }
    WriteFile(m_environment.value(QStringLiteral("XDG_CONFIG_HOME")) +
                  QStringLiteral("/Kestrun/Event Controller for OrvixIt.ini"),
              QStringLiteral("[Mail]\nSmtpServer=127.0.0.1\nSmtpPort=%1\nSmtpSecurity=none\n"
                             "SenderAddress=zentrale@example.org\n")
                  .arg(server.Port())
                  .toUtf8());
    DesktopToolStandIn composer("xdg-email", 0, 5);
    m_environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.Connection().isConnected());
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
    QProcess app;
    ASSERT_TRUE(Start(app));
    ASSERT_TRUE(WaitFor([&] { return server.Stalling(); }));

    QDBusInterface controller(Service, ObjectPath, Interface, bus.Connection());
    controller.setTimeout(5000);
    ASSERT_TRUE(WaitFor([&] { return bus.Connection().interface()->isServiceRegistered(Service).value(); }));
    EXPECT_EQ(controller.call(QStringLiteral("SetActive"), true).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(controller.property("Active").toBool());
    EXPECT_TRUE(composer.Arguments().isEmpty()) << "the server still holds its answer back";

    server.Stop();
    ASSERT_TRUE(WaitFor([&] { return !composer.Arguments().isEmpty(); }));
    EXPECT_EQ(composer.Arguments(), (QStringList {"--utf8", "mailto:anna@example.org?subject=Start"}));
    EXPECT_EQ(controller.call(QStringLiteral("Quit")).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(Finish(app), 0);
}

// The menu entry's start: the running instance brings its rule list forward over
// its own interface and the new start ends; without one the program starts with it shown.
TEST_F(StartStop, ShowBringsTheRunningInstancesRuleListForward)
{
    ASSERT_TRUE(QDir().mkpath(m_dataFolder));
    SaveRules(DataFile(QStringLiteral("rules.xml")), QStringLiteral("Kunde"));
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.Connection().isConnected());
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
    QProcess first;
    ASSERT_TRUE(Start(first, {QStringLiteral("--show")}));
    EXPECT_TRUE(WaitFor([&] { return TraceText().contains("Main::FormCreate:Rule list shown as asked at start"); }));

    QProcess second;
    ASSERT_TRUE(Start(second, {QStringLiteral("--show")}));
    EXPECT_EQ(Finish(second), 0);
    const auto askedAndShown = [this] {
        const QByteArray trace = TraceText();
        const qsizetype asked = trace.indexOf("Main::ShowRules:Rule list asked for over D-Bus");
        return asked >= 0 && trace.indexOf("Main::ShowForm:Main window shown", asked) > asked;
    };
    EXPECT_TRUE(WaitFor(askedAndShown));
    EXPECT_EQ(first.state(), QProcess::Running);

    ::kill(pid_t(first.processId()), SIGTERM);
    EXPECT_EQ(Finish(first), 0);
}

namespace {

// A display of the test's own; the number is the one Xvfb found free.
class PrivateDisplay
{
public:
    PrivateDisplay()
    {
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
        if (m_server.waitForStarted() && m_server.waitForReadyRead(30000))
            m_name = u':' + QString::fromLatin1(m_server.readLine().trimmed());
    }
    ~PrivateDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished();
    }

    // ":N", empty when the server did not start.
    const QString& Name() const { return m_name; }

private:
    QProcess m_server;
    QString m_name;
};

// The windows that the notification area (trayer's window, named "panel") holds:
// the lines of the window tree below it.
QByteArray TrayContent(const QString& display)
{
    QProcess tree;
    tree.start(QStringLiteral("xwininfo"),
               {QStringLiteral("-display"), display, QStringLiteral("-root"), QStringLiteral("-tree")});
    tree.waitForFinished(10000);
    QByteArray content;
    qsizetype panelIndent = -1;
    for (const QByteArray& line : tree.readAllStandardOutput().split('\n')) {
        qsizetype indent = 0;
        while (indent < line.size() && line.at(indent) == ' ')
            ++indent;
        if (panelIndent >= 0 && indent <= panelIndent && !line.trimmed().isEmpty())
            break;
        if (panelIndent >= 0)
            content += line + '\n';
        else if (line.contains("(\"panel\" \"trayer\")"))
            panelIndent = indent;
    }
    return content;
}

} // namespace

// At login the panel often starts after the program: the icon goes into the
// notification area when it comes.
TEST_F(StartStop, ATrayHostThatStartsLaterGetsTheIcon)
{
    for (const char* tool : {"Xvfb", "trayer", "xwininfo"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    }
    PrivateDisplay display;
    ASSERT_FALSE(display.Name().isEmpty());
    ASSERT_TRUE(QDir().mkpath(m_dataFolder));
    SaveRules(DataFile(QStringLiteral("rules.xml")), QStringLiteral("Kunde"));
    PrivateSessionBus bus;
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_environment.insert(QStringLiteral("DISPLAY"), display.Name());
    m_environment.remove(QStringLiteral("WAYLAND_DISPLAY"));

    QProcess app;
    ASSERT_TRUE(Start(app));
    EXPECT_TRUE(
        WaitFor([&] { return TraceText().contains("Main::FormCreate:No system tray available, main window shown"); }));

    QProcess tray;
    QProcessEnvironment trayEnvironment = QProcessEnvironment::systemEnvironment();
    trayEnvironment.insert(QStringLiteral("DISPLAY"), display.Name());
    tray.setProcessEnvironment(trayEnvironment);
    tray.start(QStringLiteral("trayer"), {QStringLiteral("--widthtype"), QStringLiteral("request")});
    ASSERT_TRUE(tray.waitForStarted());
    EXPECT_TRUE(WaitFor([&] { return TraceText().contains("Main::TrayIcon:Notification area appeared"); }));
    EXPECT_TRUE(WaitFor([&] { return TrayContent(display.Name()).contains("kestrun-eventcontroller"); }))
        << TrayContent(display.Name()).constData();

    ::kill(pid_t(app.processId()), SIGTERM);
    EXPECT_EQ(Finish(app), 0);
    tray.terminate();
    tray.waitForFinished();
}

// A tel: link (or --dial) started while the program runs goes to its Dial method as a clean dial
// string; a hostile link never gets that far.
TEST_F(StartStop, ALinkIsDialledThroughTheRunningProgramAndAHostileOneIsRefused)
{
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.Connection().isConnected());
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
    QProcess app;
    ASSERT_TRUE(Start(app));
    ASSERT_TRUE(WaitFor([&] { return bus.Connection().interface()->isServiceRegistered(Service).value(); }));
    ASSERT_TRUE(WaitUntilStarted(app));

    const auto dial = [&](const QStringList& arguments) {
        QProcess link;
        link.setProcessEnvironment(m_environment);
        link.start(QStringLiteral(KESTRUN_APP_PATH), arguments);
        const int status = Finish(link);
        return std::make_pair(status, QString::fromLocal8Bit(link.readAllStandardError()));
    };
    // No softphone runs on this bus: the running program tries and says why it could not.
    const auto [placed, placedError] = dial({QStringLiteral("tel:+49%2030%20123-456;ext=7")});
    EXPECT_EQ(placed, 1) << placedError.toStdString();
    EXPECT_TRUE(placedError.contains(QStringLiteral("Der Anruf konnte nicht aufgebaut werden")))
        << placedError.toStdString();
    EXPECT_TRUE(WaitFor([&] { return TraceText().contains("+4930123456"); }));

    for (const QStringList& hostile :
         {QStringList {QStringLiteral("tel:0301234%0Aevil")}, QStringList {QStringLiteral("--dial")},
          QStringList {QStringLiteral("sip:alice@example.org")},
          QStringList {QStringLiteral("--dial"), QStringLiteral("$(id)")}}) {
        const auto [status, error] = dial(hostile);
        EXPECT_EQ(status, 2) << hostile.join(u' ').toStdString();
        EXPECT_TRUE(error.startsWith(QStringLiteral("kestrun-eventcontroller: "))) << error.toStdString();
    }
    EXPECT_EQ(TraceText().count("Main::PlaceCall:Number"), 1) << "only the clean link reached the program";

    EXPECT_EQ(app.state(), QProcess::Running);
    ::kill(pid_t(app.processId()), SIGTERM);
    EXPECT_EQ(Finish(app), 0);
}

namespace {

QStringList RuleNamesIn(const QString& path)
{
    TParameters model;
    QStringList names;
    if (model.LoadObjectsFromXMLFile(path)) {
        for (const TBaseObject* rule : model.Rules().MainList())
            names << qobject_cast<const TRule*>(rule)->Name();
    }
    return names;
}

} // namespace

// An administrator's export and import: straight on the rules file while the
// program does not run, through the running program while it does, which then
// has the imported rules in force and keeps them at its end.
TEST_F(StartStop, RulesTravelOnTheCommandLineWithAndWithoutTheRunningProgram)
{
    ASSERT_TRUE(QDir().mkpath(m_dataFolder));
    const QString rulesFile = DataFile(QStringLiteral("rules.xml"));
    SaveRules(rulesFile, QStringLiteral("Kunde"));
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.Connection().isConnected());
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
    const auto run = [&](const QStringList& arguments) {
        // No display: none is needed.
        QProcessEnvironment environment = m_environment;
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        QProcess command;
        command.setProcessEnvironment(environment);
        command.setWorkingDirectory(RootFile({}));
        command.start(QStringLiteral(KESTRUN_APP_PATH), arguments);
        const int status = Finish(command);
        return std::make_pair(status, QString::fromLocal8Bit(command.readAllStandardError()));
    };
    const QString exported = RootFile(QStringLiteral("kunde.xml"));
    const QString copy = QStringLiteral(" (Kopie)");

    struct Case
    {
        QStringList arguments;
        int status;
        QString says;
    };
    const Case offline[] {
        {{QStringLiteral("--export"), QStringLiteral("kunde.xml"), QStringLiteral("Kunde")}, 0, {}},
        {{QStringLiteral("--import"), exported}, 0, {}},
        {{QStringLiteral("--export"), QStringLiteral("x.xml"), QStringLiteral("Lieferant")},
         1,
         QStringLiteral("\"Lieferant\"")},
        {{QStringLiteral("--import"), exported, QStringLiteral("Kunde\"\n$(id)")},
         1,
         QStringLiteral("\"Kunde\"\n$(id)\"")},
        {{QStringLiteral("--import"), TestDataFile(QStringLiteral("broken_truncated.xml"))},
         1,
         QStringLiteral("beschädigt")},
        {{QStringLiteral("--import")}, 2, QStringLiteral("--import DATEI")},
    };
    for (const Case& c : offline) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const auto [status, error] = run(c.arguments);
        EXPECT_EQ(status, c.status) << error.toStdString();
        EXPECT_TRUE(error.contains(c.says)) << error.toStdString();
    }
    EXPECT_EQ(RuleNamesIn(exported), QStringList {"Kunde"});
    EXPECT_EQ(RuleNamesIn(rulesFile), (QStringList {"Kunde", "Kunde" + copy}));
    EXPECT_FALSE(QFileInfo::exists(RootFile(QStringLiteral("x.xml"))));

    QProcess app;
    ASSERT_TRUE(Start(app));
    ASSERT_TRUE(WaitFor([&] { return bus.Connection().interface()->isServiceRegistered(Service).value(); }));
    ASSERT_TRUE(WaitUntilStarted(app));
    const auto [imported, importError] = run({QStringLiteral("--import"), QStringLiteral("kunde.xml")});
    EXPECT_EQ(imported, 0) << importError.toStdString();
    const QStringList three {"Kunde", "Kunde" + copy, "Kunde" + copy + copy};
    EXPECT_EQ(RuleNamesIn(rulesFile), three) << "saved at once";
    const auto [refused, refusal] = run({QStringLiteral("--import"), exported, QStringLiteral("Lieferant")});
    EXPECT_EQ(refused, 1);
    EXPECT_TRUE(refusal.contains(QStringLiteral("\"Lieferant\""))) << refusal.toStdString();
    // The running program's rules, the imported one among them.
    const auto [all, exportError] = run({QStringLiteral("--export"), QStringLiteral("alle.xml")});
    EXPECT_EQ(all, 0) << exportError.toStdString();
    EXPECT_EQ(RuleNamesIn(RootFile(QStringLiteral("alle.xml"))), three);

    ::kill(pid_t(app.processId()), SIGTERM);
    EXPECT_EQ(Finish(app), 0);
    EXPECT_EQ(RuleNamesIn(rulesFile), three) << "the program's end keeps the imported rule";
}

#include "StartStopTest.moc"
