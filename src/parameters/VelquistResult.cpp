// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/VelquistResult.h"

#include "history/LookupCache.h"
#include "platform/BackgroundWait.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QThreadPool>

#include <pugixml.hpp>

namespace {

bool IsFixedSearchType(const QString& lowerSearchField)
{
    return lowerSearchField == u"searchcontact" || lowerSearchField == u"searchnumber" ||
        lowerSearchField == u"searchindividual";
}

} // namespace

HttpLimits TVelquistResult::DefaultSearchLimits()
{
    using namespace std::chrono_literals;
    return HttpLimits {.connectTimeout = 3000ms, .totalTimeout = 3000ms, .maxBodyBytes = qsizetype {4} * 1024 * 1024};
}

TVelquistResult::TVelquistResult(HttpLimits limits)
    : m_limits(limits)
{
}

HttpForm TVelquistResult::SearchForm(const QString& SearchKey, const QString& SearchField, const QString& SearchNode)
{
    const QString lower = SearchField.toLower();
    HttpForm form;
    if (!IsFixedSearchType(lower))
        form.append({QStringLiteral("SearchField"), lower});
    form.append({QStringLiteral("SearchType"), IsFixedSearchType(lower) ? lower : QStringLiteral("SearchField")});
    form.append({QStringLiteral("SearchKey"), SearchKey});
    form.append({QStringLiteral("SearchNode"), SearchNode});
    return form;
}

TVelquistDictionary TVelquistResult::GetResult(int CallID, const QString& SearchKey, const QString& SearchField,
                                               const QString& SearchNode) const
{
    const std::shared_ptr<TLookupCache> cache = TLookupCache::InUse();
    const bool cacheKept = cache && cache->LifetimeSeconds() > 0;
    const QString cacheKey = TLookupCache::Key(SearchKey, SearchField, SearchNode);
    const std::optional<TLookupCache::TAnswer> cached = cacheKept ? cache->Find(cacheKey) : std::nullopt;
    if (cached && !cached->expired) {
        Trace::Value("Velquist::GetResult:Answer from the cache", SearchKey);
        // "Not found" is kept briefly so that a caller the directory lacks is not asked for at every state;
        // a found answer is asked for again once a minute at most, not at every state of a call.
        constexpr qint64 RefreshAfterSeconds = 60;
        if (!cached->fields.isEmpty() && cached->ageSeconds >= RefreshAfterSeconds)
            RefreshInBackground(CallID, SearchKey, SearchField, SearchNode, cache);
        return cached->fields;
    }
    const std::optional<TVelquistDictionary> answer = Fetch(CallID, SearchKey, SearchField, SearchNode);
    if (answer) {
        if (cacheKept)
            cache->Store(cacheKey, *answer);
        return *answer;
    }
    if (cached) {
        Trace::Value("Velquist::GetResult:No answer from the server, expired answer from the cache used", SearchKey);
        return cached->fields;
    }
    return {};
}

bool TVelquistSearch::Answered() const
{
    return Outcome == Found || Outcome == NotFound;
}

std::optional<TVelquistDictionary> TVelquistResult::Fetch(int CallID, const QString& SearchKey,
                                                          const QString& SearchField, const QString& SearchNode) const
{
    if (TVelquist::BaseUrl().isEmpty()) {
        Trace::Message("Velquist::GetResult:Velquist not active, aborting...");
        return std::nullopt;
    }
    // The client in use is held for the wait: its flag tells of a shutdown.
    const std::shared_ptr<TVelquist> client = TVelquist::InUse();
    const std::optional<TVelquistSearch> searched = WaitInBackground<TVelquistSearch>(
        // A copy of this: the worker may outlive the wait when it ends early.
        [search = *this, CallID, SearchKey, SearchField, SearchNode](const std::atomic<bool>& abandoned) {
            return search.Search(CallID, SearchKey, SearchField, SearchNode, &abandoned);
        },
        client ? &client->Cancelled() : nullptr);
    if (!searched) {
        Trace::Message("Velquist::GetResult:Search ended, the program is shutting down");
        return std::nullopt;
    }
    if (!searched->Answered())
        return std::nullopt;
    return searched->Fields;
}

void TVelquistResult::RefreshInBackground(int CallID, const QString& SearchKey, const QString& SearchField,
                                          const QString& SearchNode, const std::shared_ptr<TLookupCache>& cache) const
{
    const std::shared_ptr<TVelquist> client = TVelquist::InUse();
    QThreadPool::globalInstance()->start([=, search = *this] {
        const TVelquistSearch searched =
            search.Search(CallID, SearchKey, SearchField, SearchNode, client ? &client->Cancelled() : nullptr);
        if (searched.Answered()) {
            cache->Store(TLookupCache::Key(SearchKey, SearchField, SearchNode), searched.Fields);
            Trace::Value("Velquist::GetResult:Cached answer refreshed", SearchKey);
        } else {
            Trace::Value("Velquist::GetResult:Cached answer not refreshed",
                         SearchKey + QStringLiteral(": ") +
                             (searched.Error.isEmpty() ? QStringLiteral("no server") : searched.Error));
        }
    });
}

TVelquistSearch TVelquistResult::Search(int CallID, const QString& SearchKey, const QString& SearchField,
                                        const QString& SearchNode, const std::atomic<bool>* cancelled) const
{
    const QString baseUrl = TVelquist::BaseUrl();
    if (baseUrl.isEmpty())
        return {TVelquistSearch::NoServer, {}, {}};
    try {
        const HttpForm form = SearchForm(SearchKey, SearchField, SearchNode);
        const QString lower = SearchField.toLower();
        const QString url =
            baseUrl + QStringLiteral("/Velquist/GetSearchResults?PostType=KeyValue&CallID=") + QString::number(CallID);
        Trace::Value("Velquist::GetResult:SearchType",
                     IsFixedSearchType(lower) ? lower : QStringLiteral("SearchField"));
        Trace::Value("Velquist::GetResult:SearchKey", SearchKey);
        Trace::Value("Velquist::GetResult:SearchNode", SearchNode);
        Trace::Value("Velquist::GetResult:SearchField", IsFixedSearchType(lower) ? QString() : lower);
        Trace::Value("Velquist::GetResult:Url", url);
        Trace::Value("Velquist::GetResult:PostData", QString::fromLatin1(HttpClient::EncodeForm(form)));
        Trace::Message("Velquist::GetResult:Sending POST request with timeout 3 seconds");

        HttpLimits limits = m_limits;
        limits.cancelled = cancelled;
        const HttpResponse response = HttpClient::PostForm(url, form, limits);
        Trace::Value("Velquist::GetResult:Result", QString::fromUtf8(response.body));
        if (response.status >= 400)
            throw EKestrunError(
                QStringLiteral("The directory server answered with HTTP status %1").arg(response.status));
        TVelquistDictionary fields = HandleResult(response.body);
        const TVelquistSearch::TOutcome outcome = fields.isEmpty() ? TVelquistSearch::NotFound : TVelquistSearch::Found;
        return {outcome, std::move(fields), {}};
    } catch (const EHttpUnreachable& error) {
        Trace::Exception("Velquist::GetResult", error);
        return {TVelquistSearch::Unreachable, {}, QString::fromUtf8(error.what())};
    } catch (const EHttpTimeout& error) {
        Trace::Exception("Velquist::GetResult", error);
        return {TVelquistSearch::TimedOut, {}, QString::fromUtf8(error.what())};
    } catch (const std::exception& error) {
        Trace::Exception("Velquist::GetResult", error);
        return {TVelquistSearch::Failed, {}, QString::fromUtf8(error.what())};
    }
}

TVelquistDictionary TVelquistResult::HandleResult(const QByteArray& answer)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(answer.constData(), size_t(answer.size()));
    if (!parsed)
        throw EKestrunError(QStringLiteral("The answer is no XML document (%1 at byte %2)")
                                .arg(QString::fromUtf8(parsed.description()))
                                .arg(parsed.offset));

    TVelquistDictionary fields;
    const pugi::xml_node diffgram = document.document_element().child("diffgr:diffgram");
    const pugi::xml_node dataSet =
        diffgram.find_child([](pugi::xml_node node) { return node.type() == pugi::node_element; });
    const pugi::xml_node record =
        dataSet.find_child([](pugi::xml_node node) { return node.type() == pugi::node_element; });
    for (pugi::xml_node field = record.first_child(); field; field = field.next_sibling()) {
        if (field.type() != pugi::node_element)
            continue;
        const QString name = QString::fromUtf8(field.name());
        if (fields.contains(name))
            throw EKestrunError(QStringLiteral("The answer names the field \"%1\" twice").arg(name));
        fields.insert(name, QString::fromUtf8(field.text().get()));
    }
    return fields;
}
