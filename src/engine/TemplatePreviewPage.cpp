// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/TemplatePreviewPage.h"

#include "engine/HtmlValueEncoding.h"
#include "engine/PageProducer.h"
#include "model/BaseParameter.h"
#include "parameters/ParameterKinds.h"

QList<TTemplateParameterEntry> TemplateParameterEntries(const QList<TBaseParameter*>& parameters)
{
    QList<TTemplateParameterEntry> entries;
    for (const TBaseParameter* parameter : parameters) {
        if (!parameter)
            continue;
        const QString tag = CreateTemplateTag(*parameter);
        // A caption that is only the kind's name ("Orvix-Parameter") tells the parameters
        // apart no better than nothing: those are shown as the dialogs' lists show them.
        QString caption = parameter->Caption().trimmed();
        const TParameterKind* kind = FindParameterKind(*parameter);
        if (caption.isEmpty() || (kind && caption == kind->Caption))
            caption = parameter->GetDescription().trimmed();
        entries.append({caption.isEmpty() ? tag : caption, tag});
    }
    return entries;
}

QString TemplatePreviewPage(const QString& text, TTemplateKind kind, const QList<TTemplateParameterEntry>& entries)
{
    const auto sample = [&entries](const QString& tagName, const TTagAttributes& attributes) {
        const QString tag = CanonicalTemplateTag(tagName, attributes);
        for (const TTemplateParameterEntry& entry : entries) {
            if (entry.Tag == tag)
                return entry.Caption;
        }
        const QString value = attributes.Value(u"Value");
        return value.isEmpty() ? tagName : value;
    };
    if (kind == TTemplateKind::Html)
        return ProduceHtmlPage(text, sample);
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body><pre style=\"white-space: "
                          "pre-wrap\">") +
        ProducePage(text, sample).toHtmlEscaped() + QStringLiteral("</pre></body></html>\n");
}
