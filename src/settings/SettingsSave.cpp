// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SettingsSave.h"

#include "platform/AtomicFile.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "platform/UnreadableFiles.h"
#include "trace/Trace.h"

void SaveSettings(const TStorageOptions& options, const TNotificationSettings& settings)
{
    Trace::Message("Settings::SaveSettings:Save desktop notification settings");
    const QString path = DataPathUserSettingsFile();
    const QByteArray document = SettingsXML(settings);
    // A data folder that cannot take the file stops the save before anything changed.
    TAtomicFile file(path);
    file.Write(document);

    const TStoredStorageOptions stored = ReadStoredStorageOptions();
    WriteStorageOptions(options);
    try {
        const QString keptAs = UnreadableFiles::KeepAside(path);
        if (!keptAs.isEmpty())
            Trace::Value("Core::WriteSettingsXML:Unreadable file kept as", keptAs);
        file.Commit();
    } catch (const EKestrunError& error) {
        if (RestoreStorageOptions(stored))
            throw;
        Trace::Error("Settings::SaveSettings:Storage options not restored", error.Message());
        throw EKestrunError(error.Message() +
                            QStringLiteral("; the storage options written before could not be restored either"));
    }
    Trace::Value("Core::WriteLSettingsXML:XMLDoc", QString::fromUtf8(document));
}
