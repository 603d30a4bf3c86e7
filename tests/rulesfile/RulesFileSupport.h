// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "TestFiles.h"
#include "model/ActionSequence.h"
#include "model/BaseAction.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sstream>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

// The names of a list's items (rules, sequences), in order.
inline QStringList Names(const TBaseList& list)
{
    QStringList names;
    for (const TBaseObject* item : list.MainList())
        names.append(qobject_cast<const TBaseList*>(item)->Name());
    return names;
}

// The document a model writes, as text: two models with the same text hold the same data.
inline std::string SavedText(const TParameters& parameters)
{
    const auto doc = parameters.SaveObjectsToXMLDoc();
    if (!doc)
        return "(no document)";
    std::ostringstream out;
    doc->save(out, "\t");
    return out.str();
}

inline TRule* RuleAt(const TParameters& parameters, int index)
{
    return parameters.Rules().Item<TRule>(index);
}

inline TActionSequence* SequenceAt(const TParameters& parameters, int index)
{
    return parameters.ActionSequences().Item<TActionSequence>(index);
}

// A folder of its own for each test that writes files.
class FileTest : public ::testing::Test
{
protected:
    QString FilePath(const QString& name) const { return m_folder.filePath(name); }
    QString Folder() const { return m_folder.path(); }
    QStringList FolderEntries() const
    {
        return QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

private:
    QTemporaryDir m_folder;
};

// Runs the step on a thread of its own that may not override file permissions, so
// that a file without read or write permission fails also in a test run as root
// (capabilities belong to a thread).
template <typename Step>
void WithFilePermissionsEnforced(Step step)
{
    std::thread thread([&step] {
        __user_cap_header_struct header {_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] {};
        ASSERT_EQ(syscall(SYS_capget, &header, data), 0);
        for (const unsigned capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            data[capability / 32].effective &= ~(1u << (capability % 32));
        ASSERT_EQ(syscall(SYS_capset, &header, data), 0);
        step();
    });
    thread.join();
}
