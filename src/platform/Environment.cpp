// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Environment.h"

#include "platform/SystemRoutines.h"

#include <QDir>
#include <QStandardPaths>
#include <QtGlobal>

#include <optional>

namespace {

// Rules taken over from Windows name its variables; where the session does not
// set one, it stands for its counterpart here (Windows spells them in any case).
std::optional<QString> WindowsCounterpart(const QString& name)
{
    const auto is = [&name](QLatin1StringView windowsName) {
        return name.compare(windowsName, Qt::CaseInsensitive) == 0;
    };
    if (is(QLatin1StringView("USERNAME")))
        return GetUserName();
    if (is(QLatin1StringView("COMPUTERNAME")))
        return GetComputerName();
    if (is(QLatin1StringView("TEMP")) || is(QLatin1StringView("TMP")))
        return QDir::tempPath();
    if (is(QLatin1StringView("APPDATA")))
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::nullopt;
}

std::optional<QString> VariableValue(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    const QByteArray key = name.toLocal8Bit();
    if (qEnvironmentVariableIsSet(key.constData()))
        return qEnvironmentVariable(key.constData());
    return WindowsCounterpart(name);
}

} // namespace

QString ExpandEnvironmentReferences(const QString& text)
{
    if (!text.contains(u'%'))
        return text;
    QString result;
    result.reserve(text.size());
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype open = text.indexOf(u'%', position);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
        if (close < 0) {
            result += QStringView(text).mid(position);
            break;
        }
        result += QStringView(text).mid(position, open - position);
        if (const std::optional<QString> value = VariableValue(text.mid(open + 1, close - open - 1))) {
            result += *value;
            position = close + 1;
        } else {
            // Not a reference: keep the first "%" and look for one starting at the second.
            result += u'%';
            position = open + 1;
        }
    }
    return result;
}
