// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/HttpClient.h"
#include "platform/PbxServer.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <atomic>
#include <memory>
#include <mutex>

// Directory field identifier -> German display name, or -> field type.
using TVelquistDictionary = QMap<QString, QString>;

/**
 * @brief Client of the directory-lookup server (Velquist): finds the server once at
 * start and holds the catalogue of searchable directory fields ("LDAPFields.xml").
 *
 * DiscoverServers runs on a worker thread while the main thread may already look
 * contacts up. The selected base URL (one for the whole program) and the
 * catalogue are each published whole under a lock: a reader sees either nothing
 * yet or the finished result, never a half-filled one.
 */
class TVelquist
{
public:
    // Fixed host names of the softphone's installation, tried after the configured servers.
    static constexpr QStringView DefaultVelquistServerHost = u"velquistserver";
    static constexpr int LocalComputerPort = 9980;
    // What the directory server's "Server" header names; other web servers are not taken for it.
    static constexpr QStringView ServiceName = u"Kestrun Velquist";
    static constexpr QStringView CatalogueFileName = u"LDAPFields.xml";
    static constexpr QStringView GermanLanguageId = u"7";
    static constexpr QStringView NumberFieldType = u"3";

    struct THostNames
    {
        QString defaultPbxServer = DefaultPbxServerHost.toString();
        QString defaultVelquistServer = DefaultVelquistServerHost.toString();
        // Tried on LocalComputerPort first, then on the default port.
        QString localComputer;
    };

    // Connecting may take 1000 ms; a server that accepts but does not answer is given up after 5 s.
    static HttpLimits DefaultProbeLimits();

    TVelquist();
    TVelquist(const TVelquist&) = delete;
    TVelquist& operator=(const TVelquist&) = delete;

    // Reads the catalogue, then selects the first candidate that answers. Blocks for
    // as long as the probes take; StartDiscovery runs it off the main thread.
    void DiscoverServers();
    static void StartDiscovery(std::shared_ptr<TVelquist> velquist);
    // Ends a running discovery soon (a probe under way is abandoned) and keeps it from
    // trying further candidates, and ends the searches waiting on this client; for
    // shutdown, which must not wait for a silent server.
    void Cancel();
    const std::atomic<bool>& Cancelled() const { return m_cancelled; }

    // Whether the host answers the probe as the directory server.
    bool CheckServer(const QString& host, bool UseSSL) const;
    void ReadLDAPFields();
    // The configured servers, then the fixed host names, in the order they are probed.
    QStringList ServerCandidates() const;
    // Probes each candidate over HTTPS, then HTTP; the first that answers becomes the base URL.
    void SelectServer(const QStringList& candidates) const;

    TVelquistDictionary LDAPFields() const;
    TVelquistDictionary LDAPNumberFields() const;
    bool IsNumberField(const QString& field) const;

    // "https://host" or "http://host" of the selected server; empty while there is none.
    static QString BaseUrl();
    static void SetBaseUrl(const QString& url);

    // The client whose catalogue lookups consult: the program has one directory
    // server, and every copy of the model shares its client. Null before start.
    static std::shared_ptr<TVelquist> InUse();
    static void SetInUse(std::shared_ptr<TVelquist> velquist);

    // Set before discovery starts: where the catalogue lies (default: beside the
    // program, else the installed data folder), the fixed host names, the probe's limits.
    void SetProgramFolder(const QString& folder) { m_programFolder = folder; }
    void SetHostNames(const THostNames& hostNames) { m_hostNames = hostNames; }
    void SetProbeLimits(const HttpLimits& limits) { m_probeLimits = limits; }

private:
    void PublishCatalogue(const TVelquistDictionary& fields, const TVelquistDictionary& numberFields);

    QString m_programFolder;
    THostNames m_hostNames;
    HttpLimits m_probeLimits;
    std::atomic<bool> m_cancelled {false};

    mutable std::mutex m_catalogueMutex;
    TVelquistDictionary m_LDAPFields;
    TVelquistDictionary m_LDAPNumberFields;
};
