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

// Removes every listed parameter whose tag does not occur in the template. The
// removed parameters that the action owned are handed to the caller, which may
// still show them. Does nothing for an empty list. Throws EKestrunError when the
// template cannot be read.
std::vector<std::unique_ptr<TBaseParameter>> CleanSubActions(const QString& templatePath, TBaseAction& action,
                                                             QList<TBaseParameter*>& usedParameters);

// Appends to the action and the list a new parameter, made from the tag, for every
// distinct tag of the template that no listed parameter has. Throws EKestrunError
// when the template cannot be read.
void CreateTemplateSubActions(const QString& templatePath, TBaseAction& action, QList<TBaseParameter*>& usedParameters);
