// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ActionContext.h"

#include <QList>
#include <QString>
#include <QStringList>

class TActionHTMLMessage;

// Filling templates when an action runs. A result list holds one "key=result" line
// for each resolved parameter, the key being the TemplateKey of the parameter's tag;
// a tag of the template is replaced by the result of the line its own key names.

// Whose tag handler fills the template; the trace titles name it.
enum class TTemplateFiller
{
    SendEMail,
    OutlookBase
};

// One line per resolved parameter, in order: TemplateKey(parameter) + "=" + its result.
QStringList TemplateResultList(const QList<TParamResult>& results);
// The value of the first line whose name equals the key, ignoring case; empty when none.
QString ResultListValue(const QStringList& resultList, const QString& key);

// The template at document (the path as stored) with each tag replaced by the value
// that its key finds in the result list, or "invalid!" when there is no list, no
// line or an empty value. Throws EKestrunError when the template cannot be read.
QString HandleTemplate(const QString& document, const QStringList* curResultList, TTemplateFiller filler);
// The same, looked up in the results of one run of the action.
QString HandleTemplate(const QString& document, const TActionContext& context, TTemplateFiller filler);

// A mail's body filled from its template, and whether it is HTML: it is when the
// template's name ends in .htm, .html or .xhtml or the template itself is markup,
// and its values are then HTML-encoded for their place in the page; what the values
// hold never makes a body HTML. Throws EKestrunError when the template cannot be read.
struct TMailBody
{
    QString Text;
    bool Html = false;
};
TMailBody HandleMailTemplate(const QString& document, const QStringList* curResultList);

// The HTML message's page: the template (%NAME% references in its path expanded)
// with each tag replaced by its value, or "invalid!", encoded for its place in the
// page (text, attribute, script ...; see EncodeForHtml). A tag's "ID"
// attribute, when not empty, names the result-list line itself; otherwise the key
// is built from the tag as for HandleTemplate. Throws EKestrunError when the
// template cannot be read.
QString FillHTMLTemplate(const QString& htmlTemplate, const QStringList& resultList);

// Fills the HTML template and writes the page to a new file in the data folder
// named by a braced GUID, ".HTMLTemplate" and the template's extension; returns
// its path. The caller deletes it when the page is no longer shown; leftovers go
// with CleanTempFiles. Throws EKestrunError when the template cannot be read or
// the page cannot be written.
QString CreateHTMLTemplatePage(const QString& htmlTemplate, const QStringList& resultList);
// The page of the action's template, filled from the results of one run of it.
QString CreateHTMLTemplatePage(const TActionHTMLMessage& action, const TActionContext& context);
