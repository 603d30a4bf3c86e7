// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/Storage.h"

#include "platform/AtomicFile.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "platform/NumberText.h"
#include "platform/PbxServer.h"
#include "platform/Registry.h"
#include "platform/SystemRoutines.h"
#include "settings/UserSettings.h"
#include "trace/Trace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <algorithm>
#include <array>

namespace {

constexpr std::array<QStringView, 3> ProtectedFileNames {u"servers.xml", u"rules.xml", u"usersettings.xml"};
// The logon name as Windows hands it out is at most this long.
constexpr qsizetype MaxUserNameLength = 253;

qint32 RegistryInteger(const QVariant& value)
{
    const QString text = RegistryString(value);
    if (const auto number = TextToInteger(text))
        return *number;
    throw EKestrunError(QStringLiteral("\"%1\" is no valid integer value").arg(text));
}

// Plain and hidden files directly in the folder; pipes and sockets are left out,
// since reading one would block the start.
QStringList TemplateFileNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

const QString UseGlobalTemplateName = QStringLiteral("UseGlobalTemplate");
const QString GlobalTemplatePathName = QStringLiteral("GlobalTemplatePath");

// A name that a path cannot climb out of the template folder with.
bool IsPlainName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/');
}

void AddFiles(QMap<QString, QString>& files, const QString& folder)
{
    const QDir dir(folder);
    for (const QString& name : TemplateFileNames(folder))
        files.insert(name, dir.filePath(name));
}

// Through a temporary file beside the target: a failed copy leaves the old file whole,
// and the trace says why.
void CopyReplacing(const QString& source, const QString& target)
{
    try {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            throw EKestrunError(QStringLiteral("The file \"%1\" cannot be read: %2").arg(source, in.errorString()));
        const QByteArray content = in.readAll();
        if (in.error() != QFileDevice::NoError)
            throw EKestrunError(QStringLiteral("The file \"%1\" cannot be read: %2").arg(source, in.errorString()));
        WriteFileAtomically(target, content);
    } catch (const std::exception& error) {
        Trace::Exception("Main::CopyGlobalTemplateToLocalStorage", error);
    }
}

} // namespace

QString DefaultGlobalTemplatePath()
{
    return QStringLiteral("/mnt/") + DefaultPbxServerHost.toString() + QStringLiteral("/EventController");
}

TStorageOptions GetStorageOptions()
{
    TStorageOptions options;
    qint32 workingMode = gtFromDefaultFolder;
    try {
        TRegistryKey machine(QSettings::SystemScope, StorageRegistryKey);
        TRegistryKey user(QSettings::UserScope, StorageRegistryKey);
        for (const TRegistryKey* key : {&user, &machine}) {
            if (!key->IsParsedWhole())
                Trace::Warning("Main::GetStorageOptions:Cannot parse the settings file",
                               key->FileName() +
                                   QStringLiteral(": Qt could not parse it completely; what it read is used, "
                                                  "and the file will not be rewritten"));
        }
        const QString type = QStringLiteral("Type");
        if (machine.HasValue(type) && !machine.DeleteValue(type))
            Trace::Warning("Main::GetStorageOptions:Cannot delete Type", machine.FileName());

        std::optional<QVariant> mode = user.ReadValue(UseGlobalTemplateName);
        if (!mode)
            mode = machine.ReadValue(UseGlobalTemplateName);
        if (mode) {
            workingMode = RegistryInteger(*mode);
            if (workingMode >= gtNone && workingMode <= gtFromDefaultFolder)
                options.UseGlobalTemplate = TGlobalTemplateMode(workingMode);
        }

        std::optional<QVariant> path = user.ReadValue(GlobalTemplatePathName);
        if (!path)
            path = machine.ReadValue(GlobalTemplatePathName);
        const QString stored = path ? RegistryString(*path) : QString();
        if (!stored.isEmpty())
            options.GlobalTemplatePath = QDir::cleanPath(QDir::current().absoluteFilePath(stored));
    } catch (const std::exception& error) {
        Trace::Exception("Main::GetStorageOptions", error);
    }
    if (options.GlobalTemplatePath.isEmpty() || options.UseGlobalTemplate == gtFromDefaultFolder)
        options.GlobalTemplatePath = DefaultGlobalTemplatePath();
    Trace::Value("Main::GetStorageOptions:UseGlobalTemplate", workingMode);
    Trace::Value("Main::GetStorageOptions:GlobalTemplatePath", options.GlobalTemplatePath);
    return options;
}

void WriteStorageOptions(const TStorageOptions& options)
{
    TRegistryKey user(QSettings::UserScope, StorageRegistryKey);
    if (!user.IsParsedWhole())
        throw EKestrunError(QStringLiteral("The settings file \"%1\" holds lines that cannot be read, which writing "
                                           "it would drop")
                                .arg(user.FileName()));
    if (!user.WriteValues({{UseGlobalTemplateName, int(options.UseGlobalTemplate)},
                           {GlobalTemplatePathName, options.GlobalTemplatePath}}))
        throw EKestrunError(QStringLiteral("The settings file \"%1\" cannot be written").arg(user.FileName()));
    Trace::Value("Settings::SaveSettings:UseGlobalTemplate", int(options.UseGlobalTemplate));
    Trace::Value("Settings::SaveSettings:GlobalTemplatePath", options.GlobalTemplatePath);
}

TStoredStorageOptions ReadStoredStorageOptions()
{
    const TRegistryKey user(QSettings::UserScope, StorageRegistryKey);
    return {{UseGlobalTemplateName, user.ReadValue(UseGlobalTemplateName)},
            {GlobalTemplatePathName, user.ReadValue(GlobalTemplatePathName)}};
}

bool RestoreStorageOptions(const TStoredStorageOptions& stored)
{
    return TRegistryKey(QSettings::UserScope, StorageRegistryKey).WriteValues(stored);
}

bool TemplateHoldsXmlFiles(const QString& folder)
{
    const QStringList names = TemplateFileNames(folder);
    return std::any_of(names.begin(), names.end(),
                       [](const QString& name) { return name.endsWith(u".xml", Qt::CaseInsensitive); });
}

TNotificationSettings LoadSettings(const TStorageOptions& options)
{
    const QString folder = UserDataPath();
    if (!QDir().mkpath(folder))
        Trace::Error("Main::LoadSettings:Cannot create the data folder", folder);
    Trace::Value("Main::LoadSettings:DataPathRulesFile", DataPathRulesFile());
    Trace::Value("Main::LoadSettings:DataPathUserSettingsFile", DataPathUserSettingsFile());
    try {
        if (options.UseGlobalTemplate != gtNone)
            CopyGlobalTemplateToLocalStorage(options.GlobalTemplatePath);
    } catch (const std::exception& error) {
        Trace::Exception("Main::LoadSettings", error);
    }
    Trace::Message("Main::LoadSettings:Load usersettings.xml");
    TNotificationSettings settings;
    try {
        if (QFileInfo::exists(DataPathUserSettingsFile()) && ReadSettingsXML(QString(), settings))
            return settings;
    } catch (const std::exception& error) {
        Trace::Exception("Main::LoadSettings", error);
    }
    // Half-read values (opacity 0 is an invisible window) serve the user worse than the
    // settings of a first start; the unreadable file waits for the next save to go aside.
    TNotificationSettings defaults;
    defaults.DesktopNotificationIsWindowsColor = true;
    defaults.DesktopNotificationTransparencyValue = 230;
    return defaults;
}

void CopyGlobalTemplateToLocalStorage(const QString& globalTemplatePath)
{
    const TraceMethod method(QStringLiteral("Main::CopyGlobalTemplateToLocalStorage"));
    // The one check an unreachable server costs.
    if (globalTemplatePath.isEmpty() || !QFileInfo(globalTemplatePath).isDir() ||
        !TemplateHoldsXmlFiles(globalTemplatePath)) {
        Trace::Message(
            "Main::CopyGlobalTemplateToLocalStorage:Global template path not found or contains no xml-files");
        return;
    }

    // Deleting "every other file" there would take the template's own files and everything else the user keeps.
    const QString templateFolder = QFileInfo(globalTemplatePath).canonicalFilePath();
    if (templateFolder == QFileInfo(UserDataPath()).canonicalFilePath()) {
        Trace::Warning("Main::CopyGlobalTemplateToLocalStorage:Template is the data folder", globalTemplatePath);
        return;
    }

    QMap<QString, QString> files;
    try {
        const QString userName = GetUserName().left(MaxUserNameLength);
        Trace::Value("Main::CopyGlobalTemplateToLocalStorage:UserName", userName);
        AddFiles(files, globalTemplatePath);
        const QString ownFolder = QDir(globalTemplatePath).filePath(userName);
        if (IsPlainName(userName) && QFileInfo(ownFolder).isDir())
            AddFiles(files, ownFolder);
    } catch (const std::exception& error) {
        Trace::Exception("Main::CopyGlobalTemplateToLocalStorage", error);
    }

    const QDir data(UserDataPath());
    if (data.exists()) {
        for (const QString& name : data.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (std::find(ProtectedFileNames.begin(), ProtectedFileNames.end(), name) != ProtectedFileNames.end())
                continue;
            Trace::Warning("Main::CopyGlobalTemplateToLocalStorage:Delete file", data.filePath(name));
            QFile::remove(data.filePath(name));
        }
    }
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (it.key().isEmpty() || !QFileInfo::exists(it.value()))
            continue;
        Trace::Value("Main::CopyGlobalTemplateToLocalStorage:File", it.key());
        Trace::Value("Main::CopyGlobalTemplateToLocalStorage:Path", it.value());
        CopyReplacing(it.value(), data.filePath(it.key()));
    }
}
