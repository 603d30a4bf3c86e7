// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QSettings>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <memory>
#include <optional>
#include <utility>

/**
 * @brief A key of the Windows registry as this program keeps it on Linux: a group
 * of a QSettings INI file.
 *
 * "SOFTWARE\<Organisation>\<Application>\<Rest>" is the file
 * <Organisation>/<Application>.ini of the scope, with <Rest> as nested groups
 * ("Storage", "CurrentVersion/Options"); the key's own values are the file's
 * top-level keys. The current user's hive is UserScope
 * ($XDG_CONFIG_HOME/<Organisation>/<Application>.ini), the local machine's
 * SystemScope (/etc/xdg/..., or the first folder of $XDG_CONFIG_DIRS). Group and
 * value names ignore case, as the registry's do.
 *
 * A file that cannot be read is a key that cannot be opened: it has no values.
 * A file that Qt could only partly parse gives what it could read, but is never
 * written, since writing would drop the lines Qt did not understand.
 */
class TRegistryKey
{
public:
    TRegistryKey(QSettings::Scope scope, QStringView keyPath);
    ~TRegistryKey();
    TRegistryKey(const TRegistryKey&) = delete;
    TRegistryKey& operator=(const TRegistryKey&) = delete;

    bool IsOpen() const;
    // False for a file Qt could only partly parse: see above.
    bool IsParsedWhole() const;
    QString FileName() const;

    std::optional<QVariant> ReadValue(const QString& name) const;
    bool HasValue(const QString& name) const { return ReadValue(name).has_value(); }
    // Written to the file at once; false when the file cannot take it.
    bool WriteValue(const QString& name, const QVariant& value);
    /**
     * Sets each named value (an empty one is deleted) and rewrites the file once,
     * through a temporary file that is checked before it replaces the file: all
     * of them or none. False when the file cannot take them; it then holds what
     * it held before.
     */
    bool WriteValues(const QList<std::pair<QString, std::optional<QVariant>>>& values);
    // False when there was no such value or the file cannot be rewritten.
    bool DeleteValue(const QString& name);

private:
    // The name as the file spells it, or the name itself when the file lacks it.
    QString StoredKey(const QString& name) const;
    bool Writable() const;

    std::unique_ptr<QSettings> m_settings;
    QString m_group;
    bool m_partlyParsed = false;
};

// One value of a key; empty when the key cannot be opened or lacks the value.
std::optional<QVariant> ReadRegistryValue(QSettings::Scope scope, QStringView keyPath, const QString& name);

/**
 * A string value as the program wrote it. An INI file splits an unquoted text at
 * its commas into a list; the list is joined again with ", " (a value written
 * with other blanks around a comma should be quoted in the file).
 */
QString RegistryString(const QVariant& value);
