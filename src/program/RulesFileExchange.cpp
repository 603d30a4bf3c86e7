// SPDX-License-Identifier: GPL-3.0-or-later

#include "program/RulesFileExchange.h"

#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "rulesfile/Parameters.h"
#include "rulesfile/RulesExchange.h"

#include <QFileInfo>

namespace RulesFileExchange {

namespace {

// The user's rules; an unreadable file is an error, never an empty model that a
// save would then write over it.
void LoadRulesFile(TParameters& model)
{
    const QString path = DataPathRulesFile();
    if (!model.LoadObjectsFromXMLFile(path))
        throw EKestrunError(QStringLiteral("Die Regeldatei \"%1\" kann nicht gelesen werden.").arg(path));
}

} // namespace

QStringList Export(const QString& fileName, const QStringList& names)
{
    if (!QFileInfo::exists(DataPathRulesFile()))
        throw EKestrunError(QStringLiteral("Es gibt noch keine Regeldatei \"%1\".").arg(DataPathRulesFile()));
    TParameters model;
    LoadRulesFile(model);
    return RulesExchange::ExportRulesToFile(model, fileName, names);
}

QStringList Import(const QString& fileName, const QStringList& names)
{
    TParameters model;
    if (QFileInfo::exists(DataPathRulesFile()))
        LoadRulesFile(model);
    QStringList imported = RulesExchange::ImportRulesFromFile(model, fileName, names);
    try {
        model.WriteObjectsToXMLFile(DataPathRulesFile());
    } catch (const EKestrunError& error) {
        throw EKestrunError(QStringLiteral("Die Regeldatei \"%1\" konnte nicht geschrieben werden (%2).")
                                .arg(DataPathRulesFile(), error.Message()));
    }
    return imported;
}

} // namespace RulesFileExchange
