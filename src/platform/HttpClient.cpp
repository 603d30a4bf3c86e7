// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/HttpClient.h"

#include <QUrl>

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace {

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (const CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT); code != CURLE_OK)
            throw EHttpError(QStringLiteral("libcurl cannot start: ") + QString::fromUtf8(curl_easy_strerror(code)));
    });
}

struct Transfer
{
    HttpResponse response;
    qsizetype maxBodyBytes = 0;
    bool tooLarge = false;
    const std::atomic<bool>* cancelled = nullptr;
};

// curl calls it while the request runs, also while it waits for an answer.
int CheckCancelled(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* transfer = static_cast<const Transfer*>(userData);
    return transfer->cancelled->load(std::memory_order_relaxed) ? 1 : 0;
}

size_t WriteBody(char* data, size_t size, size_t count, void* userData)
{
    auto* transfer = static_cast<Transfer*>(userData);
    const size_t bytes = size * count;
    if (transfer->response.body.size() + qsizetype(bytes) > transfer->maxBodyBytes) {
        transfer->tooLarge = true;
        return 0; // curl ends the transfer with a write error
    }
    transfer->response.body.append(data, qsizetype(bytes));
    return bytes;
}

size_t WriteHeader(char* data, size_t size, size_t count, void* userData)
{
    auto* transfer = static_cast<Transfer*>(userData);
    const size_t bytes = size * count;
    const QByteArray line = QByteArray(data, qsizetype(bytes)).trimmed();
    if (line.startsWith("HTTP/")) {
        transfer->response.headers.clear();
    } else if (const qsizetype colon = line.indexOf(':'); colon > 0) {
        transfer->response.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    return bytes;
}

using CurlHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using CurlHeaders = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

CurlHandle NewHandle(const QByteArray& url, const HttpLimits& limits, Transfer& transfer, char* errorBuffer)
{
    InitCurlOnce();
    CurlHandle curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        throw EHttpError(QStringLiteral("libcurl cannot create a request"));
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorBuffer);
    // Signals would be unsafe on the discovery thread; the threaded resolver keeps time-outs.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connectTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, long(limits.totalTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxBodyBytes));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &WriteBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &WriteHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
    transfer.maxBodyBytes = limits.maxBodyBytes;
    if (limits.cancelled) {
        transfer.cancelled = limits.cancelled;
        curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &CheckCancelled);
        curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
        curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    }
    return curl;
}

HttpResponse Perform(CURL* handle, Transfer& transfer, const char* errorBuffer, const HttpLimits& limits)
{
    const CURLcode code = curl_easy_perform(handle);
    if (code == CURLE_ABORTED_BY_CALLBACK)
        throw EHttpError(QStringLiteral("The request was cancelled"));
    if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
        throw EHttpError(QStringLiteral("The answer is larger than %1 bytes").arg(limits.maxBodyBytes));
    if (code != CURLE_OK) {
        const QString detail = errorBuffer[0] ? QString::fromUtf8(errorBuffer) : QString();
        const QString message = detail.isEmpty() ? QString::fromUtf8(curl_easy_strerror(code)) : detail;
        if (code == CURLE_OPERATION_TIMEDOUT)
            throw EHttpTimeout(message);
        if (code == CURLE_COULDNT_CONNECT || code == CURLE_COULDNT_RESOLVE_HOST)
            throw EHttpUnreachable(message);
        throw EHttpError(message);
    }
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &transfer.response.status);
    return std::move(transfer.response);
}

} // namespace

QByteArray HttpResponse::Header(QByteArrayView name) const
{
    for (const auto& [headerName, value] : headers) {
        if (headerName.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

HttpResponse HttpClient::Get(const QString& url, const HttpLimits& limits)
{
    Transfer transfer;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const CurlHandle curl = NewHandle(url.toUtf8(), limits, transfer, errorBuffer);
    curl_easy_setopt(curl.get(), CURLOPT_HTTPGET, 1L);
    return Perform(curl.get(), transfer, errorBuffer, limits);
}

HttpResponse HttpClient::PostForm(const QString& url, const HttpForm& form, const HttpLimits& limits)
{
    Transfer transfer;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const CurlHandle curl = NewHandle(url.toUtf8(), limits, transfer, errorBuffer);
    const QByteArray body = EncodeForm(form);
    // An empty "Expect:" stops curl from waiting for a "100 Continue" that some servers never send.
    CurlHeaders headers(nullptr, &curl_slist_free_all);
    for (const char* header : {"Content-Type: application/x-www-form-urlencoded", "Expect:"}) {
        curl_slist* grown = curl_slist_append(headers.get(), header);
        if (!grown)
            throw EHttpError(QStringLiteral("libcurl cannot create a request"));
        (void)headers.release();
        headers.reset(grown);
    }
    curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, body.constData());
    return Perform(curl.get(), transfer, errorBuffer, limits);
}

QByteArray HttpClient::EncodeForm(const HttpForm& form)
{
    QByteArray body;
    for (const auto& [name, value] : form) {
        if (!body.isEmpty())
            body += '&';
        body += QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value);
    }
    return body;
}
