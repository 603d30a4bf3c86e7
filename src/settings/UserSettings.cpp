// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/UserSettings.h"

#include "model/XmlNavigation.h"
#include "model/XmlRecord.h"
#include "platform/AtomicFile.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "platform/NumberText.h"
#include "platform/UnreadableFiles.h"
#include "trace/Trace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <pugixml.hpp>

#include <algorithm>
#include <string_view>

namespace {

// The file holds four levels; a deeper one is no settings file. The bound keeps a
// hostile file (a global template hands it to every client) from costing more than a read.
constexpr int MaxSettingsDepth = 256;

/**
 * Element names are matched without regard to case: the reader looks for small
 * letters. Walks the tree without recursion, so that no file can exhaust the
 * stack; false when a node lies deeper than MaxSettingsDepth below the root.
 */
bool LowerElementNames(pugi::xml_node root)
{
    int depth = 1;
    pugi::xml_node node = root;
    for (;;) {
        if (node.type() == pugi::node_element) {
            node.set_name(ConvertCase(node.name(), csLower).c_str());
            if (const pugi::xml_node child = node.first_child()) {
                if (++depth > MaxSettingsDepth)
                    return false;
                node = child;
                continue;
            }
        }
        while (node != root && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node == root)
            return true;
        node = node.next_sibling();
    }
}

void TraceUnreadable(const QString& path, const QString& reason)
{
    Trace::Warning("Core::ReadSettingsXML:Cannot read file", path + QStringLiteral(": ") + reason);
}

class ByteArrayWriter : public pugi::xml_writer
{
public:
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), qsizetype(size)); }

    QByteArray text;
};

pugi::xml_node Setting(pugi::xml_node root, std::string_view path)
{
    return FindNodeExt(root, path, {}, {}, csLower, false);
}

[[noreturn]] void NotConvertible(pugi::xml_node node, const QString& text, const char* kind)
{
    throw EKestrunError(QStringLiteral("\"%1\" of the element \"%2\" is no valid %3")
                            .arg(text, QString::fromUtf8(node.name()), QString::fromLatin1(kind)));
}

qint32 IntegerSetting(pugi::xml_node node)
{
    const QString text = ReadText(node);
    if (const auto value = TextToInteger(text))
        return *value;
    NotConvertible(node, text, "integer");
}

bool BooleanSetting(pugi::xml_node node)
{
    const QString text = ReadText(node);
    if (const auto value = TextToBoolean(text))
        return *value;
    NotConvertible(node, text, "Boolean");
}

TColor ColorSetting(pugi::xml_node node)
{
    const QString text = ReadText(node);
    if (const auto value = StringToColor(text))
        return *value;
    NotConvertible(node, text, "colour");
}

QString BooleanText(bool value)
{
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

void ReadSettings(pugi::xml_node root, TNotificationSettings& settings, int monitorCount)
{
    // Out of range, a value would put every notification off screen or make it invisible.
    const pugi::xml_node monitor = Setting(root, "general.desktopnotification.monitor");
    settings.DesktopNotificationMonitor = monitor ? IntegerSetting(monitor) : 0;
    if (settings.DesktopNotificationMonitor < 0 || settings.DesktopNotificationMonitor > monitorCount - 1)
        settings.DesktopNotificationMonitor = 0;
    const pugi::xml_node position = Setting(root, "general.desktopnotification.position");
    settings.DesktopNotificationPosition = position ? IntegerSetting(position) : 0;
    if (settings.DesktopNotificationPosition < 0 || settings.DesktopNotificationPosition > 3)
        settings.DesktopNotificationPosition = 0;
    if (const pugi::xml_node color = Setting(root, "general.desktopnotification.nColor"))
        settings.DesktopNotificationColor = ColorSetting(color);
    if (const pugi::xml_node transparency = Setting(root, "general.desktopnotification.transparencyValue"))
        settings.DesktopNotificationTransparencyValue = std::clamp(IntegerSetting(transparency), 0, 255);
    if (const pugi::xml_node windowsColor = Setting(root, "general.desktopnotification.isWindowsColor"))
        settings.DesktopNotificationIsWindowsColor = BooleanSetting(windowsColor);
    if (const pugi::xml_node accentColor = Setting(root, "general.desktopnotification.isAccentColor"))
        settings.DesktopNotificationIsAccentColor = BooleanSetting(accentColor);
}

} // namespace

bool ReadSettingsXML(const QString& FileName, TNotificationSettings& settings, int monitorCount)
{
    const QString path = FileName.isEmpty() ? DataPathUserSettingsFile() : FileName;
    // Only a plain file: reading a pipe of that name would block the start.
    if (!QFileInfo(path).isFile())
        return false;
    bool complete = false;
    try {
        QFile file(path);
        pugi::xml_document doc;
        if (!file.open(QIODevice::ReadOnly)) {
            TraceUnreadable(path, file.errorString());
        } else {
            const QByteArray content = file.readAll();
            const pugi::xml_parse_result parsed = doc.load_buffer(content.constData(), size_t(content.size()));
            if (!parsed) {
                TraceUnreadable(path,
                                QString::fromUtf8(parsed.description()) + QStringLiteral(" at offset ") +
                                    QString::number(parsed.offset));
            } else if (!doc.document_element()) {
                TraceUnreadable(path, QStringLiteral("no root element"));
            } else {
                Trace::Value("Core::ReadXMLSettings:XMLDoc", QString::fromUtf8(content));
                if (LowerElementNames(doc.document_element())) {
                    ReadSettings(doc.document_element(), settings, monitorCount);
                    complete = true;
                } else {
                    TraceUnreadable(path,
                                    QStringLiteral("elements nested deeper than %1 levels").arg(MaxSettingsDepth));
                }
            }
        }
    } catch (...) {
        UnreadableFiles::Remember(path);
        throw;
    }
    if (!complete) {
        UnreadableFiles::Remember(path);
        return false;
    }
    UnreadableFiles::Forget(path);
    Trace::Value("Core::ReadSettingsXML:DesktopNotificationMonitor", settings.DesktopNotificationMonitor);
    Trace::Value("Core::ReadSettingsXML:DesktopNotificationPosition", settings.DesktopNotificationPosition);
    Trace::Value("Core::ReadSettingsXML:DesktopNotificationColor",
                 QStringLiteral("$%1").arg(settings.DesktopNotificationColor, 8, 16, QLatin1Char('0')));
    Trace::Value("Core::ReadSettingsXML:DesktopNotificationTransparencyValue",
                 settings.DesktopNotificationTransparencyValue);
    Trace::Value("Core::ReadSettingsXML:DesktopNotificationIsWindowsColor", settings.DesktopNotificationIsWindowsColor);
    Trace::Value("Core::ReadSettingsXML:DesktopNotificationIsAccentColor", settings.DesktopNotificationIsAccentColor);
    return true;
}

bool ReadSettingsXML(const QString& FileName, TNotificationSettings& settings)
{
    return ReadSettingsXML(FileName, settings, MonitorCount());
}

int MonitorCount()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 1;
    return int(QGuiApplication::screens().size());
}

QByteArray SettingsXML(const TNotificationSettings& settings)
{
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    const pugi::xml_node general = FindNodeExt(doc.append_child("config"), "general", {}, {}, csLower, true);
    const auto set = [general](std::string_view path, const QString& text) {
        WriteText(FindNodeExt(general, path, {}, {}, csLower, true), text);
    };
    set("desktopnotification.monitor", QString::number(settings.DesktopNotificationMonitor));
    set("desktopnotification.position", QString::number(settings.DesktopNotificationPosition));
    set("desktopnotification.nColor", ColorToString(settings.DesktopNotificationColor));
    set("desktopnotification.transparencyValue", QString::number(settings.DesktopNotificationTransparencyValue));
    set("desktopnotification.isWindowsColor", BooleanText(settings.DesktopNotificationIsWindowsColor));
    set("desktopnotification.isAccentColor", BooleanText(settings.DesktopNotificationIsAccentColor));
    ByteArrayWriter writer;
    doc.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    return writer.text;
}

bool WriteSettingsXML(const QString& FileName, const TNotificationSettings& settings, QString* error)
{
    const QString path = FileName.isEmpty() ? DataPathUserSettingsFile() : QDir(UserDataPath()).filePath(FileName);
    const QByteArray document = SettingsXML(settings);
    try {
        const QString keptAs = UnreadableFiles::KeepAside(path);
        if (!keptAs.isEmpty())
            Trace::Value("Core::WriteSettingsXML:Unreadable file kept as", keptAs);
        WriteFileAtomically(path, document);
    } catch (const EKestrunError& failure) {
        Trace::Warning("Core::WriteSettingsXML:Cannot write file", failure.Message());
        if (error)
            *error = failure.Message();
        return false;
    }
    Trace::Value("Core::WriteLSettingsXML:XMLDoc", QString::fromUtf8(document));
    return true;
}
