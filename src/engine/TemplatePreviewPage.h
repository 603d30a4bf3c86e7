// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/TemplateEditor_Core.h"

#include <QList>
#include <QString>

class TBaseParameter;

// A parameter as the template editor offers it: what the user reads and the tag
// that goes into the template.
struct TTemplateParameterEntry
{
    QString Caption;
    QString Tag;
};

// The entries of the parameters, in order, each under its caption; a parameter whose
// caption is empty or only its kind's name under its description, and one without
// either under its tag.
QList<TTemplateParameterEntry> TemplateParameterEntries(const QList<TBaseParameter*>& parameters);

// The page the template editor's preview shows: the template with each tag replaced
// by a sample value. The sample of a tag is the caption of the entry with that tag,
// else the tag's "Value", else its name. A page gets each value encoded for its place
// in the page, as the HTML message does; plain text is shown as text (escaped, in a
// pre element), never read as markup.
QString TemplatePreviewPage(const QString& text, TTemplateKind kind, const QList<TTemplateParameterEntry>& entries);
