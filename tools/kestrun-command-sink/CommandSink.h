// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <cstdio>

/**
 * @brief The object that receives commands: writes each one to a stream as one
 * line and flushes it at once, so that a reader sees it while the sink runs.
 */
class CommandSink : public QObject
{
    Q_OBJECT

public:
    explicit CommandSink(std::FILE* out, QObject* parent = nullptr);

public Q_SLOTS:
    void Execute(const QString& message);

private:
    std::FILE* m_out;
};
