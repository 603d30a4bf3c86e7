// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "TraceTest.h"
#include "trace/MemoryTraceSink.h"
#include "trace/Trace.h"

#include <QObject>
#include <QSizeF>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

// Counts the reads of its properties, so that a test sees whether a dump looked at it.
class Handset : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString caller READ Caller)
    Q_PROPERTY(int lineCount READ LineCount)
    Q_PROPERTY(bool muted READ Muted)
    Q_PROPERTY(QStringList accounts READ Accounts)

public:
    using QObject::QObject;

    QString Caller() const { return Read(m_caller); }
    int LineCount() const { return Read(m_lineCount); }
    bool Muted() const { return Read(m_muted); }
    QStringList Accounts() const { return Read(m_accounts); }

    QString m_caller = QStringLiteral("Anna Berg <sip:anna@example.org>");
    int m_lineCount = -2;
    bool m_muted = true;
    QStringList m_accounts {QStringLiteral("work"), QStringLiteral("home, private")};
    mutable int reads = 0;

private:
    template <typename T>
    const T& Read(const T& value) const
    {
        ++reads;
        return value;
    }
};

// Numbers a test sets freely, to compare the dump with Qt's own conversion.
class Meter : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double reading MEMBER m_reading)
    Q_PROPERTY(int count MEMBER m_count)

public:
    double m_reading = 0;
    int m_count = 0;
};

class Desk : public Handset
{
    Q_OBJECT
    Q_PROPERTY(QList<Handset*> extensions READ Extensions)
    Q_PROPERTY(QObject* owner READ Owner)
    Q_PROPERTY(Mode mode READ GetMode)
    Q_PROPERTY(double volume READ Volume)
    Q_PROPERTY(QSizeF panel READ Panel)

public:
    enum class Mode
    {
        Idle,
        Ringing
    };
    Q_ENUM(Mode)

    using Handset::Handset;

    QList<Handset*> Extensions() const { return m_extensions; }
    QObject* Owner() const { return nullptr; }
    Mode GetMode() const { return Mode::Ringing; }
    double Volume() const { return 0.25; }
    QSizeF Panel() const { return {1.5, 2}; }

    QList<Handset*> m_extensions;
};

// Each of the threads writes the entries "Worker::Run:Thread <thread>" = 0, 1, 2 ...
inline void TraceFromThreads(int threads, int perThread)
{
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t, perThread] {
            for (int i = 0; i < perThread; ++i)
                Trace::Value(QStringLiteral("Worker::Run:Thread %1").arg(t), i);
        });
    }
    for (std::thread& worker : workers)
        worker.join();
}
