// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QPromise>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <optional>

// The threads that blocking work runs on while the main thread waits for it.
QThreadPool& BackgroundPool();

/**
 * Runs work on a worker thread and waits for it the way a modal window waits:
 * the event loop goes on meanwhile, so notifications, timers and signals keep
 * being handled. A run for another call may start and end inside the wait.
 *
 * The wait ends early when *cancel is set or the program quits; the work is
 * then told through the flag it is handed (abandoned), its result is dropped
 * and the answer is nullopt. An exception of the work is thrown here.
 */
template <typename T>
std::optional<T> WaitInBackground(std::function<T(const std::atomic<bool>& abandoned)> work,
                                  const std::atomic<bool>* cancel = nullptr)
{
    // Shared with the worker, which may outlive this call once the wait ended early.
    auto abandoned = std::make_shared<std::atomic<bool>>(false);
    auto promise = std::make_shared<QPromise<T>>();
    QFuture<T> future = promise->future();
    promise->start();
    BackgroundPool().start([promise, abandoned, work = std::move(work)] {
        try {
            promise->addResult(work(*abandoned));
        } catch (...) {
            promise->setException(std::current_exception());
        }
        promise->finish();
    });

    const auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
    QEventLoop loop;
    QFutureWatcher<T> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(future);
    // A flag has no signal; looking at it twenty times a second costs nothing.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, &cancelled] {
        if (cancelled())
            loop.quit();
    });
    if (cancel)
        poll.start(50);
    if (!future.isFinished() && !cancelled())
        loop.exec();
    if (!future.isFinished()) {
        abandoned->store(true, std::memory_order_relaxed);
        return std::nullopt;
    }
    return future.result();
}

/**
 * For work under WaitInBackground that needs what only the main thread may use
 * (the softphone's line manager): runs call on the main thread, between its
 * events, and gives its result; on the main thread itself, calls at once. Gives
 * nullopt once the wait was abandoned (the main thread may never come to it). An
 * exception of call is thrown here.
 */
template <typename T>
std::optional<T> CallOnMainThread(std::function<T()> call, const std::atomic<bool>& abandoned)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread())
        return call();
    auto promise = std::make_shared<std::promise<T>>();
    std::future<T> result = promise->get_future();
    QMetaObject::invokeMethod(
        application,
        [promise, call = std::move(call)] {
            try {
                promise->set_value(call());
            } catch (...) {
                promise->set_exception(std::current_exception());
            }
        },
        Qt::QueuedConnection);
    while (result.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        if (abandoned.load(std::memory_order_relaxed))
            return std::nullopt;
    }
    return result.get();
}
