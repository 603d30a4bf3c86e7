// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/TemplateTagScanner.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

class TBaseAction;
class TBaseParameter;

// Template tags stand for parameters: <#saOrvix Value="orvixCallerName"> is the
// caller-name parameter. The tag name is the parameter's type identifier, the
// attributes carry its settings in a fixed order ("Value", "Value2", "Value3",
// "Value4", "Format", "Option1", "Option1Value", "Option2", "Option2Value").

// The text with every character removed that is not an ASCII letter or digit.
QString CleanString(QStringView text);

// The tag that stands for the parameter: its type identifier and the attributes its
// type carries, each written only when not empty, except the four search options of
// the directory-lookup and address-book parameters, which are always written.
QString CreateTemplateTag(const TBaseParameter& parameter);

// A tag found in a template, written the way CreateTemplateTag writes tags: the
// known attributes with a value, in their fixed order; an "Option1" or "Option2"
// without its value attribute gets an empty one. Tags are the same tag exactly
// when these texts are equal.
QString CanonicalTemplateTag(const QString& tagName, const TTagAttributes& attributes);

// The name under which a tag's value is looked up: the tag name, then "_" and the
// CleanString of each known attribute with a value, in the fixed order; for example
// saSystemParam_spTime_hhnnss.
QString TemplateKey(const QString& tagName, const TTagAttributes& attributes);
// The key of the parameter's own tag.
QString TemplateKey(const TBaseParameter& parameter);

// The editors keep an action's parameters in step with the tags of its template.
// usedParameters is the editor's list of the action's parameters; both functions
// change the action and that list alike.

// The listed parameters whose tag does not occur in the template, in list order:
// what CleanSubActions would remove, so that the user can be asked first. Empty for
// an empty list, without reading the file. Throws EKestrunError when the template
// cannot be read.
QList<TBaseParameter*> SubActionsToClean(const QString& templatePath, const QList<TBaseParameter*>& usedParameters);

// Takes the given parameters (as SubActionsToClean found them) out of the action and
// the list. Those the action owned are handed to the caller, in list order, which may
// still show them; the others are only taken out.
std::vector<std::unique_ptr<TBaseParameter>>
RemoveSubActions(TBaseAction& action, QList<TBaseParameter*>& usedParameters, const QList<TBaseParameter*>& toRemove);

// Removes every listed parameter whose tag does not occur in the template:
// RemoveSubActions of SubActionsToClean. Does nothing for an empty list. Throws
// EKestrunError when the template cannot be read.
std::vector<std::unique_ptr<TBaseParameter>> CleanSubActions(const QString& templatePath, TBaseAction& action,
                                                             QList<TBaseParameter*>& usedParameters);

// Appends to the action and the list a new parameter, made from the tag, for every
// distinct tag of the template that no listed parameter has. A tag of no parameter's
// kind is left in the template and traced; so are tags whose values share one key.
// Throws EKestrunError when the template cannot be read.
void CreateTemplateSubActions(const QString& templatePath, TBaseAction& action, QList<TBaseParameter*>& usedParameters);

// Whether a template is an HTML page (the HTML message's, or a mail or item template
// written as a page) or plain text (the text of a note, journal entry, task,
// appointment or mail).
enum class TTemplateKind
{
    Html,
    PlainText
};

// What a new template starts from: for a page a document type line, a heading and
// a paragraph; for plain text a heading line and a paragraph.
QString NewTemplateSample(TTemplateKind kind);
