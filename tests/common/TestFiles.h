// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

// A file of tests/data.
inline QString TestDataFile(const QString& name)
{
    return QDir(QStringLiteral(KESTRUN_TEST_DATA)).filePath(name);
}

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the file and the folders to it; a failure fails the test (call it
// inside ASSERT_NO_FATAL_FAILURE where the test must not go on).
inline void WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(content), content.size()) << path.toStdString();
}
