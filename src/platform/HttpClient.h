// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/KestrunError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>

#include <atomic>
#include <chrono>

// A request that did not complete: no connection, time-out, TLS failure, an
// answer over the size limit. The message is curl's own text.
class EHttpError : public EKestrunError
{
public:
    using EKestrunError::EKestrunError;
};

// A request that ran out of time (connecting or answering): the server may be
// there but slow, which users are told apart from no server at all.
class EHttpTimeout : public EHttpError
{
public:
    using EHttpError::EHttpError;
};

// No server answers at the address: the host is unknown or refuses the connection.
class EHttpUnreachable : public EHttpError
{
public:
    using EHttpError::EHttpError;
};

// Bounds of one request, so that a slow or hostile server cannot hold the caller.
struct HttpLimits
{
    std::chrono::milliseconds connectTimeout {3000};
    // The whole request, connecting included.
    std::chrono::milliseconds totalTimeout {10000};
    qsizetype maxBodyBytes = qsizetype {4} * 1024 * 1024;
    // When given, setting it abandons the request (within about a second) with EHttpError.
    const std::atomic<bool>* cancelled = nullptr;
};

struct HttpResponse
{
    long status = 0;
    // In the order received; of the final answer only (not of a "100 Continue").
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // The first header of that name, compared ignoring case; null when there is none.
    QByteArray Header(QByteArrayView name) const;
};

// Name and value pairs of a form, in the order they are sent.
using HttpForm = QList<QPair<QString, QString>>;

/**
 * @brief Synchronous HTTP(S) requests on libcurl easy handles.
 *
 * Each call uses its own handle, so the client is safe on any thread. A request
 * that completes returns its answer whatever the status; the caller decides what
 * a 4xx or 5xx means. Redirects are not followed and no proxy is used: the
 * servers this program talks to are on the local network.
 */
class HttpClient
{
public:
    static HttpResponse Get(const QString& url, const HttpLimits& limits);
    // Sends the form as application/x-www-form-urlencoded (EncodeForm).
    static HttpResponse PostForm(const QString& url, const HttpForm& form, const HttpLimits& limits);
    // name=value pairs joined by "&", both UTF-8 and percent-encoded except for
    // the unreserved characters, so "+" and "&" in a value arrive as they were.
    static QByteArray EncodeForm(const HttpForm& form);
};
