// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "parameters/Velquist.h"
#include "platform/HttpClient.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

class TLookupCache;

// What one search found, or why it found nothing.
struct TVelquistSearch
{
    enum TOutcome
    {
        Found,
        NotFound,
        // No directory server has been found (or none is configured).
        NoServer,
        // The selected server no longer takes connections (stopped, gone from the network).
        Unreachable,
        TimedOut,
        // No connection, an error status, an answer that cannot be read: Error says which.
        Failed,
    };
    TOutcome Outcome = NotFound;
    // The fields of the first record found, field identifier -> value.
    TVelquistDictionary Fields;
    QString Error;

    // Whether the server answered, with a record or without.
    bool Answered() const;
};

/**
 * @brief One search on the directory-lookup server: the request and the reading of its answer.
 *
 * Holds nothing between calls. The server is the one TVelquist selected; without
 * one, nothing is sent. The answer is a serialised data set ("diffgr:diffgram")
 * of which only the first record counts.
 */
class TVelquistResult
{
public:
    // A search may take 3 s, connecting included, and its answer 4 MiB.
    static HttpLimits DefaultSearchLimits();

    explicit TVelquistResult(HttpLimits limits = DefaultSearchLimits());

    // The fields of the first record found, field identifier -> value; empty when
    // nothing is found or anything fails (traced). The request runs off the main
    // thread and is waited for as a modal window is: notifications keep being
    // taken in. Shutdown (TVelquist::Cancel on the client in use) ends the wait.
    // With a lookup cache in use (TLookupCache::InUse), a fresh cached answer comes
    // at once and a found one is refreshed in the background; an expired one is
    // asked for again and still used when the server does not answer.
    TVelquistDictionary GetResult(int CallID, const QString& SearchKey, const QString& SearchField,
                                  const QString& SearchNode) const;
    // The same search done on the calling thread, which it blocks for up to the
    // time limit (for a worker thread); setting *cancelled abandons it. Never throws.
    TVelquistSearch Search(int CallID, const QString& SearchKey, const QString& SearchField, const QString& SearchNode,
                           const std::atomic<bool>* cancelled = nullptr) const;
    // Throws EKestrunError on an answer that is no XML or whose record names a field twice.
    static TVelquistDictionary HandleResult(const QByteArray& answer);

    // The form as the server expects it, in its order.
    static HttpForm SearchForm(const QString& SearchKey, const QString& SearchField, const QString& SearchNode);

private:
    // The server's answer; nothing when it could not be asked or did not answer (traced).
    std::optional<TVelquistDictionary> Fetch(int CallID, const QString& SearchKey, const QString& SearchField,
                                             const QString& SearchNode) const;
    void RefreshInBackground(int CallID, const QString& SearchKey, const QString& SearchField,
                             const QString& SearchNode, const std::shared_ptr<TLookupCache>& cache) const;

    HttpLimits m_limits;
};
