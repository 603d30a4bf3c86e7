// SPDX-License-Identifier: GPL-3.0-or-later

#include "program/StarterRules.h"

#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

QByteArray ReadResource(const QString& path)
{
    QFile resource(path);
    if (!resource.open(QIODevice::ReadOnly))
        throw EKestrunError(QStringLiteral("Starter rules missing from the program: ") + path);
    return resource.readAll();
}

void WriteFile(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw EKestrunError(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + file.errorString());
}

} // namespace

QString StarterRules::TemplateFolder(const QString& dataFolder)
{
    return dataFolder + QStringLiteral("/Vorlagen");
}

void StarterRules::Seed(const QString& rulesFile, const QString& dataFolder)
{
    const QString templates = TemplateFolder(dataFolder);
    if (!QDir().mkpath(templates))
        throw EKestrunError(QStringLiteral("Cannot create ") + templates);
    const QString journalTemplate = templates + QStringLiteral("/gespraechsnotiz.txt");
    // A template the user changed is theirs; only a missing one is put back.
    if (!QFile::exists(journalTemplate))
        WriteFile(journalTemplate, ReadResource(QStringLiteral(":/starter/gespraechsnotiz.txt")));
    QByteArray rules = ReadResource(QStringLiteral(":/starter/rules.xml"));
    // The folder is element text in the rules file: a user name may hold "&" or "<".
    rules.replace("@KESTRUN_STARTER_TEMPLATES@", templates.toHtmlEscaped().toUtf8());
    WriteFile(rulesFile, rules);
    Trace::Value("Main::SeedStarterRules:Starter rules written", rulesFile);
}
