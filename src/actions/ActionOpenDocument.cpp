#include "actions/ActionOpenDocument.h"

TActionOpenDocument::TActionOpenDocument()
{
    SetCaptionAndIcon(QStringLiteral("Document öffnen"), u"description");
}

QString TActionOpenDocument::GetDescription() const
{
    return QStringLiteral("Öffne: ") + FDocPath;
}
