// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "SettingsSandbox.h"
#include "parameters/Velquist.h"
#include "telephony/LineManagerService.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

// Polls until the condition holds or a generous deadline passes.
template <typename Condition>
bool WaitFor(Condition condition)
{
    const QDeadlineTimer deadline(30s);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

/**
 * An HTTP server on 127.0.0.1 and a free port, serving from its own threads while
 * the object lives. Every GET and POST gets the answer set last; a "hanging"
 * answer holds the request until Release() or the end of the server. What each
 * request carried is recorded.
 */
class LocalHttpServer
{
public:
    struct Answer
    {
        int status = 200;
        // Empty: no "Server" header at all.
        std::string server = "Kestrun Velquist/4.2";
        std::string body = "<AutoDiscovery/>";
        bool hang = false;
        // Held this long before answering, as a slow server does.
        std::chrono::milliseconds delay {0};
        // When set, makes the body from the request's decoded form fields instead.
        std::function<std::string(const httplib::Params& form)> bodyFor {};
    };

    struct Request
    {
        std::string method;
        std::string target;
        std::string contentType;
        std::string body;
    };

    LocalHttpServer()
    {
        const auto handler = [this](const httplib::Request& request, httplib::Response& response) {
            Respond(request, response);
        };
        m_server.Get(".*", handler);
        m_server.Post(".*", handler);
        // A TLS greeting to this plain server is dropped soon instead of waiting for a request line.
        m_server.set_read_timeout(1, 0);
        // Enough threads that slow answers to many calls at once are not queued behind each other.
        m_server.new_task_queue = [] { return new httplib::ThreadPool(64); };
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        WaitFor([this] { return m_server.is_running(); });
    }

    ~LocalHttpServer()
    {
        Release();
        m_server.stop();
        m_thread.join();
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    QString Host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    int Port() const { return m_port; }

    void SetAnswer(const Answer& answer)
    {
        const std::lock_guard lock(m_mutex);
        m_answer = answer;
    }

    void Release()
    {
        const std::lock_guard lock(m_mutex);
        m_released = true;
        m_releasedChanged.notify_all();
    }

    std::vector<Request> Requests() const
    {
        const std::lock_guard lock(m_mutex);
        return m_requests;
    }

    int HangingRequests() const
    {
        const std::lock_guard lock(m_mutex);
        return m_hanging;
    }

private:
    void Respond(const httplib::Request& request, httplib::Response& response)
    {
        std::unique_lock lock(m_mutex);
        m_requests.push_back({request.method, request.target, request.get_header_value("Content-Type"), request.body});
        const Answer answer = m_answer;
        if (answer.hang) {
            ++m_hanging;
            m_releasedChanged.wait(lock, [this] { return m_released; });
            --m_hanging;
        }
        lock.unlock();
        std::this_thread::sleep_for(answer.delay);
        httplib::Params form;
        if (answer.bodyFor)
            httplib::detail::parse_query_text(request.body, form);
        response.status = answer.status;
        if (!answer.server.empty())
            response.set_header("Server", answer.server);
        response.set_content(answer.bodyFor ? answer.bodyFor(form) : answer.body, "text/xml; charset=utf-8");
    }

    httplib::Server m_server;
    int m_port = -1;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_releasedChanged;
    Answer m_answer;
    bool m_released = false;
    int m_hanging = 0;
    std::vector<Request> m_requests;
};

// "127.0.0.1:<port>" where nothing listens: a candidate that refuses at once.
inline QString RefusingHost()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("127.0.0.1:%1").arg(port);
}

// Short limits for servers that are meant to fail.
inline HttpLimits QuickLimits()
{
    return HttpLimits {.connectTimeout = 1000ms, .totalTimeout = 300ms, .maxBodyBytes = 64 * 1024};
}

// Converts as the softphone does for Germany: a single leading 0 becomes +49.
class GermanLineManager : public LineManagerService
{
public:
    bool IsAvailable() const override { return true; }
    QVariantMap GetLine(int) override { return {}; }
    QString ConvertNumber(int, const QString& number) override
    {
        if (number.startsWith(u'0') && !number.startsWith(QStringLiteral("00")))
            return QStringLiteral("+49") + number.mid(1);
        return number;
    }
    QVariantMap GetNotificationCall() override { return {}; }
    void PickupGroupNotificationCall(int) override { }
    void HookOff(int) override { }
    void HookOn(int) override { }
    void Dial(int, const QString&) override { }
    int MakeCall(int, const QString&) override { return 0; }
};

// Every test starts without a selected server, with its own settings folders.
class VelquistFixture : public ::testing::Test
{
protected:
    void SetUp() override { TVelquist::SetBaseUrl({}); }
    void TearDown() override
    {
        TVelquist::SetBaseUrl({});
        TVelquist::SetInUse(nullptr);
        LineManagerService::SetInstance(nullptr);
    }

    SettingsSandbox m_settings;
};
