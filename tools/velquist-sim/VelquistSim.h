// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ContactDirectory.h"

#include <QByteArray>

struct SimAnswer
{
    int status = 200;
    QByteArray contentType;
    QByteArray body;
};

/**
 * @brief The directory server's two requests, answered from a ContactDirectory;
 * independent of the HTTP server that carries them.
 *
 * Search answers are serialised data sets: a document element holding a schema
 * and a "diffgr:diffgram" whose first child is the data set, whose children are
 * the records found (every match, in file order), whose children are the
 * non-empty fields. A request it cannot read gets status 400 and a text saying why.
 */
class VelquistSim
{
public:
    // What the client looks for in the "Server" header.
    static constexpr const char* ServerHeader = "Kestrun Velquist/1.0 (velquist-sim)";

    explicit VelquistSim(ContactDirectory directory);

    SimAnswer AutoDiscovery() const;
    // query: what follows "?" in the request target; form: the urlencoded body.
    SimAnswer Search(const QByteArray& query, const QByteArray& form) const;

    QByteArray Diffgram(const QList<ContactDirectory::Contact>& contacts) const;

private:
    QList<ContactDirectory::Contact> Find(const QString& searchType, const QString& searchField,
                                          const QString& searchKey) const;

    ContactDirectory m_directory;
};
