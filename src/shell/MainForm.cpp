#include "shell/MainForm.h"

#include "model/ModelInForce.h"
#include "model/Parameters.h"
#include "parameters/Velquist.h"
#include "platform/AppVersion.h"
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

    m_parameters = std::make_shared<TParameters>();
    SetModelInForce(m_parameters);
    // Lookups made before the directory server is found are skipped, not delayed.
    TVelquist::StartDiscovery(m_parameters->Velquist());
    // From here on call events are processed.
    m_parameters->InitLineManager();
}

void TMainForm::FormClose()
{
    Trace::Message("Main::FormClose:Application shut down");
}
