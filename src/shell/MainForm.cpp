#include "shell/MainForm.h"

#include "model/ModelInForce.h"
#include "model/Parameters.h"
#include "model/Rule.h"
#include "parameters/Velquist.h"
#include "platform/AppVersion.h"
#include "platform/DataPaths.h"
#include "platform/Storage.h"
#include "trace/Trace.h"

#include <QDir>
#include <QFileInfo>

const QString TMainForm::Title = QStringLiteral("Kestrun Event Controller for OrvixIt!");

TMainForm::TMainForm()
{
    setWindowTitle(Title);
}

TMainForm::~TMainForm()
{
    SetModelInForce(nullptr);
}

QString TMainForm::TraceFilePath()
{
    return QDir::tempPath() + QStringLiteral("/Kestrun/Traces/KestrunEventControllerForOrvixIt.sil");
}

QString TMainForm::TraceConnections(const QString& traceFile)
{
    QString quoted = traceFile;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return QStringLiteral("file(filename=\"") + quoted +
        QStringLiteral("\", maxsize=20480, append=true), pipe(reconnect=true, reconnect.interval=10)");
}

void TMainForm::FormCreate()
{
    const QString traceFile = TraceFilePath();
    QDir().mkpath(QFileInfo(traceFile).absolutePath());
    Trace::Configure(Title, TraceConnections(traceFile));
    Trace::SetEnabled(true);
    Trace::SetLevel(TraceLevel::Debug);
    Trace::Clear();
    Trace::Value("Main::FormCreate:Application started", GetAppVersionLabel());

    Trace::Value("Main::FormCreate:DataPathRulesFile", DataPathRulesFile());
    Trace::Value("Main::FormCreate:DataPathUserSettingsFile", DataPathUserSettingsFile());

    m_parameters = std::make_shared<TParameters>();
    SetModelInForce(m_parameters);
    // The template copy may replace the rules file, so it comes before discovery and the rules.
    GetStorageOptions();
    LoadSettings();
    // Lookups made before the directory server is found are skipped, not delayed.
    TVelquist::StartDiscovery(m_parameters->Velquist());
    // A missing or unreadable rules file leaves the model empty; the program runs on.
    m_parameters->LoadObjectsFromXMLFile(QString());
    m_parameters->CleanTempFiles();
    // From here on call events are processed, with the rules already in place.
    m_parameters->InitLineManager();
    CheckStartupRules();
}

void TMainForm::CheckStartupRules()
{
    // No call is involved: each rule runs with the line object it was loaded with.
    const TBaseList& rules = m_parameters->Rules();
    for (int i = 0; i < rules.Count(); ++i) {
        TRule* rule = rules.Item<TRule>(i);
        if (rule && rule->Active() && rule->CallOptionBase().Contains(cobApplicationStart))
            rule->ExecuteRule();
    }
}

void TMainForm::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    Trace::Message("Main::FormClose:Application shut down");
    if (!m_parameters)
        return;
    try {
        m_parameters->CleanTempFiles();
    } catch (const std::exception& error) {
        Trace::Exception("Main::FormClose", error);
    }
    if (!m_parameters->SaveObjectsToXMLFile(QString()))
        Trace::Error(QString(QStringLiteral("Main::FormClose:Cannot save File ") + DataPathRulesFile()));
}
