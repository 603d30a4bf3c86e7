// SPDX-License-Identifier: GPL-3.0-or-later

#include "program/Program.h"

#include "actions/ActionHTMLMessage.h"
#include "engine/PimItemEditing.h"
#include "engine/RulesRun.h"
#include "frontend/UserInterface.h"
#include "history/CallHistory.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "parameters/Velquist.h"
#include "pim/PimItemDrafts.h"
#include "platform/AppVersion.h"
#include "platform/DataPaths.h"
#include "platform/DialTarget.h"
#include "platform/KestrunError.h"
#include "platform/RuntimeFolder.h"
#include "platform/UnreadableFiles.h"
#include "program/StarterRules.h"
#include "program/StartupWindows.h"
#include "rulesfile/BlockedNumbers.h"
#include "rulesfile/Parameters.h"
#include "rulesfile/RulesExchange.h"
#include "settings/SettingsSave.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/OrvixEvent.h"
#include "trace/Trace.h"

#include <QFile>
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
    if (m_callHistory && TLookupCache::InUse() == m_callHistory->LookupCache())
        TLookupCache::SetInUse(nullptr);
    if (NumberBlocking() == this)
        SetNumberBlocking(nullptr);
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
        {"GreetNewUser",
         [this, windows] {
             if (m_firstStart && windows)
                 windows->GreetNewUser();
         }},
        {"CleanTempFiles", [this] { CleanTempFiles(); }},
        {"OpenCallHistory", [this] { OpenCallHistory(); }},
        {"InitLineManager", [this] { InitLineManager(); }},
        {"PreLoadMessageForms", [this] { PreLoadMessageForms(); }},
        {"CheckStartupRules", [this] { CheckStartupRules(); }},
        {"OfferItemDrafts", [this] { ScheduleItemDrafts(); }},
    };
    for (const auto& [name, run] : steps) {
        // A quit handled while a step waited: the shutdown ran, nothing more starts.
        if (m_shutDown)
            return;
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
    const QString path = DataPathRulesFile();
    // The first start: the global template, copied before, brought no rules either.
    if (!QFile::exists(path)) {
        StarterRules::Seed(path, UserDataPath());
        m_firstStart = true;
    }
    // A missing or unreadable rules file leaves the model empty; the program runs on.
    if (!RequireModel().LoadObjectsFromXMLFile(QString()) && QFileInfo::exists(path))
        KeepUnreadableRulesFile(path);
    TakeRulesFileStamp();
    m_rulesChanged = false;
}

// The file stays where it is, unchanged, until the user changes the rules; the copy
// survives even that, for someone to repair.
void TProgram::KeepUnreadableRulesFile(const QString& path)
{
    QString text =
        QStringLiteral("Die Regeldatei \"%1\" konnte nicht gelesen werden; es gelten keine Regeln.").arg(path);
    try {
        const QString copy = UnreadableFiles::KeepCopy(path);
        Trace::Warning("Main::FormCreate:Unreadable rules file, copy kept as", copy);
        text += QStringLiteral(" Eine Kopie liegt unter \"%1\".").arg(copy);
    } catch (const std::exception& error) {
        Trace::Exception("Main::FormCreate", error);
    }
    text += QStringLiteral(" Die Datei bleibt unverändert, bis Sie die Regeln ändern.");
    emit UserWarning(text);
}

void TProgram::TakeRulesFileStamp()
{
    const QFileInfo file(DataPathRulesFile());
    m_rulesFileModified = file.exists() ? file.lastModified() : QDateTime();
    m_rulesFileSize = file.exists() ? file.size() : -1;
}

bool TProgram::RulesFileChangedOnDisk() const
{
    const QFileInfo file(DataPathRulesFile());
    return file.exists() ? file.lastModified() != m_rulesFileModified || file.size() != m_rulesFileSize
                         : m_rulesFileSize != -1;
}

bool TProgram::SaveRules()
{
    if (RulesFileChangedOnDisk())
        Trace::Warning("Main::SaveRules:Rules file changed on disk, replaced by the newer change", DataPathRulesFile());
    m_rulesSaved = RequireModel().SaveObjectsToXMLFile(QString());
    if (m_rulesSaved) {
        m_rulesChanged = false;
        TakeRulesFileStamp();
    }
    return m_rulesSaved;
}

void TProgram::CleanTempFiles()
{
    RequireModel().CleanTempFiles();
}

int TProgram::PlaceCall(const QString& number)
{
    const TDialTarget target = TDialTarget::Parse(number);
    if (!target.IsValid())
        throw EKestrunError(target.error);
    Trace::Value("Main::PlaceCall:Number", target.number);
    TParameters& model = RequireModel();
    if (!model.OrvixEventController())
        throw EKestrunError(QStringLiteral("Keine Verbindung zum Softphone."));
    const int line = model.OrvixEventController()->ClientLineMgr()->DispMakeCall(target.number);
    Trace::Value("Main::PlaceCall:Line", line);
    return line;
}

bool TProgram::BlockNumber(const QString& number)
{
    RequireNoRulesEditing(QStringLiteral("Das Sperren einer Nummer"));
    std::shared_ptr<TParameters> copy = RequireModel().Clone();
    if (!BlockedNumbers::Block(*copy, number))
        return false;
    SetModel(copy);
    if (!SaveRules())
        Trace::Error("Main::BlockNumber:Cannot save File ", DataPathRulesFile());
    return true;
}

QStringList TProgram::ExportRules(const QString& fileName, const QStringList& names) const
{
    Trace::Value("Main::ExportRule:Exporting rules to file", fileName);
    return RulesExchange::ExportRulesToFile(RequireModel(), fileName, names);
}

QStringList TProgram::ImportRules(const QString& fileName, const QStringList& names)
{
    RequireNoRulesEditing(QStringLiteral("Der Import von Regeln"));
    std::shared_ptr<TParameters> copy = RequireModel().Clone();
    QStringList imported = RulesExchange::ImportRulesFromFile(*copy, fileName, names);
    SetModel(copy);
    if (!SaveRules()) {
        Trace::Error("Main::ImportRule:Cannot save File ", DataPathRulesFile());
        throw EKestrunError(QStringLiteral("Die Regeln wurden übernommen, aber die Regeldatei \"%1\" konnte nicht "
                                           "geschrieben werden; sie wird beim nächsten Speichern geschrieben.")
                                .arg(DataPathRulesFile()));
    }
    return imported;
}

void TProgram::OpenCallHistory()
{
    m_callHistory = std::make_unique<TCallHistory>(TCallHistory::OptionsFromSettings());
    Trace::Value("Main::FormCreate:Call history kept", m_callHistory->Enabled());
    TLookupCache::SetInUse(m_callHistory->LookupCache());
}

void TProgram::InitLineManager()
{
    TParameters& model = RequireModel();
    // From here on call events are processed, with the rules already in place.
    model.InitLineManager(m_service);
    // Working copies share the controller, so its connection is the program's for good.
    connect(model.OrvixEventController()->ClientLineMgr().get(), &TClientLineMgr::AvailabilityChanged, this,
            [this](bool available) {
                Trace::Value("Main::SoftphoneConnection:Connected", available);
                emit SoftphoneConnectionChanged(available);
            });
    if (model.OrvixEventController()->ClientLineMgr()->IsConnected())
        emit SoftphoneConnectionChanged(true);
    // Actions ("Anrufer sperren") block callers through the program, which owns the rule list.
    SetNumberBlocking(this);
    // The controller is shared with working copies of the model, which may outlive the program.
    model.OrvixEventController()->SetRuleRunner(
        [program = QPointer<TProgram>(this)](TOrvixLine& line, const QString& state) {
            if (program)
                program->RunRulesInForce(line, state);
        });
    model.OrvixEventController()->SetCallEndObserver(
        [history = QPointer<TCallHistory>(m_callHistory.get())](const TOrvixLine& line) {
            if (!history)
                return;
            auto record = TCallRecord::FromLine(line, QDateTime::currentDateTime());
            if (!record)
                return;
            // What a rule's directory lookup found for the caller.
            const TLookupCache::TFields found = history->LookupCache()->LatestFound(record->convertedNumber);
            record->displayName = found.value(QStringLiteral("displayname"));
            record->company = found.value(QStringLiteral("company"));
            history->Add(std::move(*record));
        });
}

void TProgram::RequireNoRulesEditing(const QString& refused) const
{
    if (m_rulesEditing > 0) {
        Trace::Warning("Main::RulesEditing:Refused while the rules are being edited", refused);
        throw EKestrunError(refused +
                            QStringLiteral(" ist nicht möglich, solange die Regeln bearbeitet werden. Schließen Sie "
                                           "den Dialog der Regelliste und versuchen Sie es erneut."));
    }
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
    for (int i = 0; i < rules.Count() && !m_shutDown; ++i) {
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

// After the start, from the event loop: the drafts' windows wait for the user, and
// nothing of the start (a call to place, the rule list to show) should wait with them.
void TProgram::ScheduleItemDrafts()
{
    QMetaObject::invokeMethod(this, &TProgram::OfferItemDrafts, Qt::QueuedConnection);
}

void TProgram::OfferItemDrafts()
{
    const QString title = QStringLiteral("Main::OfferItemDrafts");
    TPimItemDrafts drafts;
    try {
        drafts = ReadPimItemDrafts();
    } catch (const std::exception& error) {
        Trace::Exception(title, error);
        return;
    }
    for (const TUnreadablePimItemDraft& unreadable : drafts.Unreadable) {
        Trace::Warning(title + QStringLiteral(":Unreadable draft"),
                       unreadable.Path + QStringLiteral(": ") + unreadable.Error);
        if (unreadable.KeptAs.isEmpty()) {
            emit UserWarning(
                QStringLiteral("Der Entwurf \"%1\" konnte nicht gelesen werden; er bleibt unverändert liegen.")
                    .arg(unreadable.Path));
            continue;
        }
        Trace::Value(title + QStringLiteral(":Unreadable draft, kept as"), unreadable.KeptAs);
        emit UserWarning(QStringLiteral("Ein Entwurf konnte nicht gelesen werden. Er liegt jetzt unter \"%1\".")
                             .arg(unreadable.KeptAs));
    }
    if (drafts.Drafts.empty())
        return;
    TUserInterface* ui = UserInterface();
    if (!ui) {
        Trace::Value(title + QStringLiteral(":No window to offer them, drafts kept"), int(drafts.Drafts.size()));
        return;
    }
    for (TPimItemDraft& draft : drafts.Drafts) {
        // Quit while a draft was open: the rest stay for the next start.
        if (m_shutDown)
            return;
        Trace::Value(title + QStringLiteral(":Offering draft"), draft.Path);
        try {
            const TPimItemEditing editing = EditPimItem(*ui, draft.Item, title);
            // Interrupted again: kept once more, in its own file unless it had to get another one.
            const bool keptElsewhere = !editing.DraftPath.isEmpty() && editing.DraftPath != draft.Path;
            if (editing.Outcome != TUserInterface::TPimItemOutcome::Interrupted || keptElsewhere) {
                RemovePimItemDraft(draft.Path);
                Trace::Value(title + QStringLiteral(":Draft removed"), draft.Path);
            }
        } catch (const std::exception& error) {
            Trace::Exception(title, error);
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
    if (!m_rulesChanged) {
        Trace::Message("Main::FormClose:Rules unchanged, rules file left as it is");
        return m_rulesSaved = true;
    }
    // Someone edited the file after the program's last change: the newer one stays.
    if (RulesFileChangedOnDisk() && QFileInfo(DataPathRulesFile()).lastModified() > m_rulesChangedAt) {
        Trace::Warning("Main::FormClose:Rules file changed on disk after the last change, kept", DataPathRulesFile());
        return m_rulesSaved = true;
    }
    if (!SaveRules())
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
    m_rulesChanged = true;
    m_rulesChangedAt = QDateTime::currentDateTime();
    emit ModelChanged();
}

bool TProgram::ReloadRules()
{
    RequireNoRulesEditing(QStringLiteral("Das Neuladen der Regeln"));
    // A copy, for the event controller and the directory client it shares; the
    // file then replaces both of its lists.
    std::shared_ptr<TParameters> reloaded = RequireModel().Clone();
    if (!reloaded->LoadObjectsFromXMLFile(QString()))
        return false;
    Trace::Value("Main::ReloadRules:Rules reloaded", DataPathRulesFile());
    SetModel(std::move(reloaded));
    TakeRulesFileStamp();
    m_rulesChanged = false;
    return true;
}

bool TProgram::SoftphoneConnected() const
{
    const TOrvixEventController* controller = m_model ? m_model->OrvixEventController() : nullptr;
    return controller && controller->ClientLineMgr()->IsConnected();
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

void TProgram::SaveSettings(const TStorageOptions& options, const TNotificationSettings& settings)
{
    ::SaveSettings(options, settings);
    SetStorageOptions(options);
    SetNotificationSettings(settings);
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
