// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/Velquist.h"

#include "platform/Registry.h"
#include "platform/ResourceFolder.h"
#include "trace/Trace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QThreadPool>

#include <pugixml.hpp>

#include <optional>

namespace {

constexpr QStringView KestrunKey = u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt";
constexpr QStringView HalvexOptionsKey = u"SOFTWARE\\Brannet\\Halvex Client\\CurrentVersion\\Options";
constexpr QStringView OrvixOptionsKey = u"SOFTWARE\\Orvix\\OrvixIt!\\CurrentVersion\\Options";

// The softphone's option, from whichever of its two keys has it.
std::optional<QVariant> ReadSoftphoneOption(const QString& name)
{
    if (auto value = ReadRegistryValue(QSettings::UserScope, HalvexOptionsKey, name))
        return value;
    return ReadRegistryValue(QSettings::UserScope, OrvixOptionsKey, name);
}

void ReadCatalogue(const QString& path, TVelquistDictionary& fields, TVelquistDictionary& numberFields)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EKestrunError(QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
    const QByteArray content = file.readAll();
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(content.constData(), size_t(content.size()));
    if (!parsed)
        throw EKestrunError(QStringLiteral("%1 is no XML document (%2 at byte %3)")
                                .arg(path, QString::fromUtf8(parsed.description()))
                                .arg(parsed.offset));

    for (const pugi::xml_node field : document.document_element().children("DatabaseField")) {
        const pugi::xml_attribute identifier = field.attribute("LDAPField");
        if (!identifier)
            throw EKestrunError(QStringLiteral("A \"DatabaseField\" of %1 has no \"LDAPField\"").arg(path));
        const QString id = QString::fromUtf8(identifier.value());
        if (fields.contains(id))
            throw EKestrunError(QStringLiteral("The field \"%1\" is listed twice in %2").arg(id, path));
        const pugi::xml_node german =
            field.child("FieldNames").find_child_by_attribute("id", TVelquist::GermanLanguageId.toUtf8().constData());
        fields.insert(id, QString::fromUtf8(german.attribute("Name").value()));
        numberFields.insert(id, QString::fromUtf8(field.child("FieldType").text().get()).trimmed());
    }
}

std::mutex g_baseUrlMutex;
QString g_baseUrl;

// Only the main thread sets and reads it; discovery gets its client handed over.
std::shared_ptr<TVelquist>& ClientInUse()
{
    static std::shared_ptr<TVelquist> client;
    return client;
}

} // namespace

HttpLimits TVelquist::DefaultProbeLimits()
{
    using namespace std::chrono_literals;
    return HttpLimits {.connectTimeout = 1000ms, .totalTimeout = 5000ms, .maxBodyBytes = qsizetype {1024} * 1024};
}

TVelquist::TVelquist()
    : m_programFolder(QCoreApplication::instance()
                          ? FindResourceFolder(QCoreApplication::applicationDirPath(), CatalogueFileName)
                          : QString())
    , m_probeLimits(DefaultProbeLimits())
{
    m_hostNames.localComputer = QHostInfo::localHostName();
}

void TVelquist::DiscoverServers()
{
    Trace::Message("Velquist::DiscoverServers:Creating server list");
    ReadLDAPFields();
    const QStringList candidates = ServerCandidates();
    Trace::Strings("Velquist::DiscoverServers:Server list", candidates);
    Trace::Message("Velquist::DiscoverServers:Starting server discovery");
    SelectServer(candidates);
}

void TVelquist::Cancel()
{
    m_cancelled.store(true, std::memory_order_relaxed);
}

void TVelquist::StartDiscovery(std::shared_ptr<TVelquist> velquist)
{
    // The task keeps the client alive even if the model that owns it goes first.
    QThreadPool::globalInstance()->start([velquist = std::move(velquist)] {
        try {
            velquist->DiscoverServers();
        } catch (const std::exception& error) {
            Trace::Exception("Velquist::DiscoverServers", error);
        }
    });
}

bool TVelquist::CheckServer(const QString& host, bool UseSSL) const
{
    const QString url = (UseSSL ? QStringLiteral("https://") : QStringLiteral("http://")) + host +
        QStringLiteral("/Velquist/AutoDiscovery");
    Trace::Value("Velquist::CheckServer:Checking server", host);
    Trace::Value("Velquist::CheckServer:Requesting Url", url);
    try {
        HttpLimits limits = m_probeLimits;
        limits.cancelled = &m_cancelled;
        const HttpResponse response = HttpClient::Get(url, limits);
        const QString server = QString::fromUtf8(response.Header("Server"));
        Trace::Value("Velquist::CheckServer:Response from server:", host + QStringLiteral(" - ") + server);
        if (!server.contains(ServiceName, Qt::CaseInsensitive)) {
            Trace::Warning("Velquist::CheckServer:Not the directory server", server);
            return false;
        }
        return true;
    } catch (const EKestrunError& error) {
        Trace::Value("Velquist::CheckServer:Server not responding", host);
        Trace::Value("Velquist::CheckServer:Server responese", error.Message());
        return false;
    }
}

void TVelquist::ReadLDAPFields()
{
    TVelquistDictionary fields;
    TVelquistDictionary numberFields;
    const QString path = QDir(m_programFolder).filePath(CatalogueFileName.toString());
    if (QFileInfo::exists(path)) {
        Trace::Value("Velquist::ReadLDAPFields:Reading file", path);
        // Fields read before a faulty one are kept.
        try {
            ReadCatalogue(path, fields, numberFields);
        } catch (const EKestrunError& error) {
            Trace::Exception("Velquist::ReadLDAPFields", error);
        }
        Trace::Value("Velquist::ReadLDAPFields:LDAPFields found", int(fields.size()));
    } else {
        Trace::Value("Velquist::ReadLDAPFields:File not found", path);
    }
    PublishCatalogue(fields, numberFields);
}

QStringList TVelquist::ServerCandidates() const
{
    QStringList candidates;
    const QString velquistServerName = QStringLiteral("VelquistServer");
    std::optional<QVariant> velquistServer = ReadRegistryValue(QSettings::UserScope, KestrunKey, velquistServerName);
    if (!velquistServer)
        velquistServer = ReadRegistryValue(QSettings::SystemScope, KestrunKey, velquistServerName);
    if (velquistServer && !velquistServer->toString().isEmpty())
        candidates.append(velquistServer->toString());

    int useAutoDetected = 1;
    if (const auto value = ReadSoftphoneOption(QStringLiteral("UsePbxServerFromAutoDetection"))) {
        bool isNumber = false;
        const int number = value->toString().trimmed().toInt(&isNumber);
        if (isNumber)
            useAutoDetected = number;
    }
    const QString pbxServer = useAutoDetected != 0
        ? m_hostNames.defaultPbxServer
        : ReadSoftphoneOption(QStringLiteral("PbxServer")).value_or(QVariant()).toString();
    if (!pbxServer.isEmpty())
        candidates.append(pbxServer);

    candidates.append(m_hostNames.defaultVelquistServer);
    candidates.append(m_hostNames.localComputer + u':' + QString::number(LocalComputerPort));
    candidates.append(m_hostNames.localComputer);
    return candidates;
}

void TVelquist::SelectServer(const QStringList& candidates) const
{
    const auto cancelled = [this] {
        if (!m_cancelled.load(std::memory_order_relaxed))
            return false;
        Trace::Message("Velquist::DiscoverServers:Discovery cancelled");
        return true;
    };
    for (const QString& host : candidates) {
        QString url;
        if (cancelled())
            return;
        if (CheckServer(host, true))
            url = QStringLiteral("https://") + host;
        else if (cancelled())
            return;
        else if (CheckServer(host, false))
            url = QStringLiteral("http://") + host;
        else
            continue;
        SetBaseUrl(url);
        Trace::Value("Velquist::Create:Selected server Url", url);
        return;
    }
    Trace::Warning("Velquist::DiscoverServers:No server answered, lookups are skipped");
}

TVelquistDictionary TVelquist::LDAPFields() const
{
    const std::lock_guard lock(m_catalogueMutex);
    return m_LDAPFields;
}

TVelquistDictionary TVelquist::LDAPNumberFields() const
{
    const std::lock_guard lock(m_catalogueMutex);
    return m_LDAPNumberFields;
}

bool TVelquist::IsNumberField(const QString& field) const
{
    const std::lock_guard lock(m_catalogueMutex);
    return m_LDAPNumberFields.value(field) == NumberFieldType;
}

void TVelquist::PublishCatalogue(const TVelquistDictionary& fields, const TVelquistDictionary& numberFields)
{
    const std::lock_guard lock(m_catalogueMutex);
    m_LDAPFields = fields;
    m_LDAPNumberFields = numberFields;
}

QString TVelquist::BaseUrl()
{
    const std::lock_guard lock(g_baseUrlMutex);
    return g_baseUrl;
}

void TVelquist::SetBaseUrl(const QString& url)
{
    const std::lock_guard lock(g_baseUrlMutex);
    g_baseUrl = url;
}

std::shared_ptr<TVelquist> TVelquist::InUse()
{
    return ClientInUse();
}

void TVelquist::SetInUse(std::shared_ptr<TVelquist> velquist)
{
    ClientInUse() = std::move(velquist);
}
