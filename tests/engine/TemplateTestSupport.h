// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A folder of template files that lives as long as the test.
class TemplateFolder
{
public:
    TemplateFolder() { EXPECT_TRUE(m_dir.isValid()); }

    // Writes the bytes as they are (line breaks included) and returns the path.
    QString Write(const QString& name, const QByteArray& content) const
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size()) << path.toStdString();
        return path;
    }

    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
