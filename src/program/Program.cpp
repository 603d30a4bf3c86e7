// SPDX-License-Identifier: GPL-3.0-or-later

#include "program/Program.h"

#include "actions/ActionHTMLMessage.h"
#include "engine/RulesRun.h"
#include "frontend/UserInterface.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "parameters/Velquist.h"
#include "platform/AppVersion.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "platform/RuntimeFolder.h"
#include "program/StartupWindows.h"
#include "rulesfile/Parameters.h"
#include "telephony/OrvixEvent.h"
#include "trace/Trace.h"

#include <QFileInfo>
#include <QPointer>
#include <QSet>

#include <functional>
#include <utility>

const QString TProgram::Title = QStringLiteral("Kestrun Event Controller for OrvixIt!");

TProgram::TProgram(LineManagerService* service)
    : m_service(service)
{
}

TProgram::~TProgram()
{
    if (m_model && TVelquist::InUse() == m_model->Velquist())
        TVelquist::SetInUse(nullptr);
}

QString TProgram::TraceFilePath()
{
    return UserRuntimePath() + QStringLiteral("/Kestrun/Traces/KestrunEventControllerForOrvixIt.sil");
}

QString TProgram::TraceConnections(const QString& traceFile)
{
    QString quoted = traceFile;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return QStringLiteral("file(filename=\"") + quoted +
        QStringLiteral("\", maxsize=20480, append=true), pipe(reconnect=true, reconnect.interval=10)");
}

void TProgram::Start(TStartupWindows* windows)
{
    using TWindowStep = void (TStartupWindows::*)();
    const auto window = [windows](TWindowStep step) {
        return [windows, step] {
            if (windows)
                (windows->*step)();
        };
    };
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"PlaceWindow", window(&TStartupWindows::PlaceWindow)},
        {"SetUpTrace", [this] { SetUpTrace(); }},
        {"TraceDataPaths", [this] { TraceDataPaths(); }},
        {"ShowTrayIcon", window(&TStartupWindows::ShowTrayIcon)},
        {"CreateModel", [this] { CreateModel(); }},
        {"CreateWindowCollections", window(&TStartupWindows::CreateWindowCollections)},
        // The template copy may replace the rules file, so it comes before discovery and the rules.
        {"LoadStorageAndSettings", [this] { LoadStorageAndSettings(); }},
        {"StartDiscovery", [this] { StartDiscovery(); }},
        {"LoadRulesFile", [this] { LoadRulesFile(); }},
        {"ReloadRuleList", window(&TStartupWindows::ReloadRuleList)},
        {"CleanTempFiles", [this] { CleanTempFiles(); }},
        {"InitLineManager", [this] { InitLineManager(); }},
        {"PreLoadMessageForms", [this] { PreLoadMessageForms(); }},
        {"CheckStartupRules", [this] { CheckStartupRules(); }},
    };
    for (const auto& [name, run] : steps) {
        try {
            run();
        } catch (const std::exception& error) {
            Trace::Value("Main::FormCreate:Start-up step failed", name);
            Trace::Exception("Main::AppException", error);
        }
    }
}

void TProgram::SetUpTrace()
{
    const QString traceFile = TraceFilePath();
    CreatePrivateFolder(QFileInfo(traceFile).absolutePath());
    Trace::Configure(Title, TraceConnections(traceFile));
    Trace::SetEnabled(true);
    Trace::SetLevel(TraceLevel::Debug);
    Trace::Clear();
    Trace::Value("Main::FormCreate:Application started", GetAppVersionLabel());
}

void TProgram::TraceDataPaths()
{
    Trace::Value("Main::FormCreate:DataPathRulesFile", DataPathRulesFile());
    Trace::Value("Main::FormCreate:DataPathUserSettingsFile", DataPathUserSettingsFile());
}

void TProgram::CreateModel()
{
    m_model = std::make_shared<TParameters>();
    m_model->SetActive(m_active);
    TVelquist::SetInUse(m_model->Velquist());
}

void TProgram::LoadStorageAndSettings()
{
    SetStorageOptions(GetStorageOptions());
    SetNotificationSettings(LoadSettings(m_storageOptions));
}

void TProgram::StartDiscovery()
{
    // Lookups made before the directory server is found are skipped, not delayed.
    TVelquist::StartDiscovery(RequireModel().Velquist());
}

void TProgram::LoadRulesFile()
{
    // A missing or unreadable rules file leaves the model empty; the program runs on.
    RequireModel().LoadObjectsFromXMLFile(QString());
}

void TProgram::CleanTempFiles()
{
    RequireModel().CleanTempFiles();
}

void TProgram::InitLineManager()
{
    TParameters& model = RequireModel();
    // From here on call events are processed, with the rules already in place.
    model.InitLineManager(m_service);
    // The controller is shared with working copies of the model, which may outlive the program.
    model.OrvixEventController()->SetRuleRunner(
        [program = QPointer<TProgram>(this)](TOrvixLine& line, const QString& state) {
            if (program)
                program->RunRulesInForce(line, state);
        });
}

TParameters& TProgram::RequireModel() const
{
    if (!m_model)
        throw EKestrunError(QStringLiteral("No model: it could not be created"));
    return *m_model;
}

void TProgram::RunRulesInForce(TOrvixLine& line, const QString& currentLineState)
{
    // Held for the whole run: the running rules stay alive when an editor puts
    // another model in force while a rule waits in a window.
    const std::shared_ptr<TParameters> model = m_model;
    if (model)
        RunRules(*model, line, currentLineState);
}

void TProgram::CheckStartupRules()
{
    // Held for the whole loop, for the same reason as a call's run.
    const std::shared_ptr<TParameters> model = m_model;
    if (!model)
        return;
    // No call is involved: each rule runs with the line object it was loaded with.
    const TBaseList& rules = model->Rules();
    for (int i = 0; i < rules.Count(); ++i) {
        TRule* rule = rules.Item<TRule>(i);
        if (rule && rule->Active() && rule->CallOptionBase().Contains(cobApplicationStart))
            rule->ExecuteRule(rule->OrvixLine());
    }
}

void TProgram::PreLoadMessageForms()
{
    TUserInterface* ui = UserInterface();
    if (!ui || !m_model)
        return;
    // Copies and imports give actions the same ID; one window per ID is all the
    // windows can keep apart, so the first action in list order has it.
    QSet<QString> preloaded;
    const TBaseList& sequences = m_model->ActionSequences();
    for (int i = 0; i < sequences.Count(); ++i) {
        const auto* sequence = sequences.Item<TActionSequence>(i);
        for (int j = 0; sequence && j < sequence->Count(); ++j) {
            const auto* action = qobject_cast<const TActionHTMLMessage*>(sequence->Action(j));
            if (!action || !action->ShowInvisible())
                continue;
            if (preloaded.contains(action->ID())) {
                Trace::Warning("Main::PreLoadMessageForms:Action ID preloaded already, skipped", action->ID());
                continue;
            }
            preloaded.insert(action->ID());
            try {
                ui->PreloadMessageWindow(action->WindowRequest(TActionContext(nullptr)));
            } catch (const std::exception& error) {
                Trace::Exception("Main::PreLoadMessageForms", error);
            }
        }
    }
}

bool TProgram::Shutdown()
{
    if (m_shutDown)
        return m_rulesSaved;
    m_shutDown = true;
    Trace::Message("Main::FormClose:Application shut down");
    if (TUserInterface* ui = UserInterface())
        ui->CloseMessageWindows();
    if (const std::shared_ptr<TVelquist> velquist = TVelquist::InUse())
        velquist->Cancel();
    if (!m_model)
        return m_rulesSaved;
    try {
        m_model->CleanTempFiles();
    } catch (const std::exception& error) {
        Trace::Exception("Main::FormClose", error);
    }
    m_rulesSaved = m_model->SaveObjectsToXMLFile(QString());
    if (!m_rulesSaved)
        Trace::Error(QString(QStringLiteral("Main::FormClose:Cannot save File ") + DataPathRulesFile()));
    return m_rulesSaved;
}

void TProgram::SetModel(std::shared_ptr<TParameters> model)
{
    if (model == m_model)
        return;
    m_model = std::move(model);
    if (m_model)
        m_model->SetActive(m_active);
    emit ModelChanged();
}

bool TProgram::ReloadRules()
{
    // A copy, for the event controller and the directory client it shares; the
    // file then replaces both of its lists.
    std::shared_ptr<TParameters> reloaded = RequireModel().Clone();
    if (!reloaded->LoadObjectsFromXMLFile(QString()))
        return false;
    Trace::Value("Main::ReloadRules:Rules reloaded", DataPathRulesFile());
    SetModel(std::move(reloaded));
    return true;
}

void TProgram::SetActive(bool active)
{
    if (m_model)
        m_model->SetActive(active);
    if (active == m_active)
        return;
    m_active = active;
    Trace::Value("Main::SetActive:Rule processing", active);
    emit ActiveChanged(active);
}

void TProgram::SetStorageOptions(const TStorageOptions& options)
{
    if (options == m_storageOptions)
        return;
    m_storageOptions = options;
    emit StorageOptionsChanged(m_storageOptions);
}

void TProgram::SetNotificationSettings(const TNotificationSettings& settings)
{
    if (settings == m_notificationSettings)
        return;
    m_notificationSettings = settings;
    emit NotificationSettingsChanged(m_notificationSettings);
}
