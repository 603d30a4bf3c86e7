// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/TemplateEditor_Core.h"

#include "engine/PageProducer.h"
#include "model/BaseAction.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"
#include "parameters/ParameterVelquist.h"
#include "rulesfile/RecordTypes.h"
#include "trace/Trace.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr std::array<QStringView, 9> AttributeOrder {u"Value",   u"Value2",       u"Value3",  u"Value4",      u"Format",
                                                     u"Option1", u"Option1Value", u"Option2", u"Option2Value"};

QString BooleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

void AppendAttribute(QString& tag, QStringView name, const QString& value)
{
    tag += u' ' + name + u"=\"" + value + u'"';
}

// The attributes CreateTemplateTag writes for the parameter, in order.
TTagAttributes ParameterTagAttributes(const QString& type, const TBaseParameter& parameter)
{
    TTagAttributes attributes;
    const auto add = [&attributes](const char* name, const QString& value) {
        if (!value.isEmpty())
            attributes.Append(QString::fromLatin1(name), value);
    };
    const auto addSearchOptions = [&attributes](const auto& lookup) {
        attributes.Append(QStringLiteral("Option1"), BooleanText(lookup.SearchOptionOrvix()));
        attributes.Append(QStringLiteral("Option1Value"), lookup.SearchOptionOrvixValue());
        attributes.Append(QStringLiteral("Option2"), BooleanText(lookup.SearchOptionUser()));
        attributes.Append(QStringLiteral("Option2Value"), lookup.SearchOptionUserValue());
    };

    // An identifier names exactly one class, so the casts below are safe.
    if (type == u"saOrvix" || type == u"saUserParam") {
        add("Value", parameter.ParameterValue());
    } else if (type == u"saSystemParam") {
        const auto& system = static_cast<const TParameterSystem&>(parameter);
        add("Value", EnumName(system.ParamType()));
        switch (system.ParamType()) {
        case spTime:
            add("Format", system.TimeFormat());
            break;
        case spDate:
            add("Format", system.DateFormat());
            break;
        case spDateTime:
            add("Format", system.DateTimeFormat());
            break;
        case spEnvironmentVariable:
            add("Format", system.EnvironmentalVariable());
            break;
        default:
            break;
        }
    } else if (type == u"saLDAP") {
        const auto& ldap = static_cast<const TParameterVelquist&>(parameter);
        add("Value", ldap.ParameterValue());
        add("Value2", ldap.SearchField());
        addSearchOptions(ldap);
    } else if (type == u"saOutlookAddressbook") {
        const auto& contact = static_cast<const TParameterOutlookAddressbook&>(parameter);
        add("Value", contact.ParameterValue());
        add("Value2", contact.SearchField());
        add("Value3", contact.Caption());
        addSearchOptions(contact);
    }
    return attributes;
}

template <typename TLookup>
std::unique_ptr<TBaseParameter> LookupParameterFromTag(const TTagAttributes& attributes)
{
    auto parameter = std::make_unique<TLookup>();
    const QString value = attributes.Value(u"Value");
    parameter->SetCaption(value);
    parameter->SetParameterValue(value);
    parameter->SetSearchField(attributes.Value(u"Value2"));
    parameter->SetSearchOptionOrvix(attributes.Value(u"Option1") == u"True");
    parameter->SetSearchOptionOrvixValue(attributes.Value(u"Option1Value"));
    parameter->SetSearchOptionUser(attributes.Value(u"Option2") == u"True");
    parameter->SetSearchOptionUserValue(attributes.Value(u"Option2Value"));
    return parameter;
}

std::unique_ptr<TBaseParameter> SystemParameterFromTag(const TTagAttributes& attributes)
{
    auto parameter = std::make_unique<TParameterSystem>();
    const QString value = attributes.Value(u"Value");
    const QString format = attributes.Value(u"Format");
    parameter->SetCaption(value);
    std::optional<SystemParameter> type;
    // The kind also goes by the name of its field.
    if (value == u"EnvironmentalVariable")
        type = spEnvironmentVariable;
    for (int ordinal = 0; ordinal < EnumCount<SystemParameter>() && !type; ++ordinal) {
        if (EnumName(SystemParameter(ordinal)) == value)
            type = SystemParameter(ordinal);
    }
    if (!type)
        return parameter;
    parameter->SetParamType(*type);
    switch (*type) {
    case spTime:
        parameter->SetTimeFormat(format);
        break;
    case spDate:
        parameter->SetDateFormat(format);
        break;
    case spDateTime:
        parameter->SetDateTimeFormat(format);
        break;
    case spEnvironmentVariable:
        parameter->SetEnvironmentalVariable(format);
        break;
    default:
        break;
    }
    return parameter;
}

// A new parameter of the kind the tag names, set up from its attributes; any other
// tag name gives a plain parameter.
std::unique_ptr<TBaseParameter> ParameterFromTag(const QString& tagName, const TTagAttributes& attributes)
{
    const QString value = attributes.Value(u"Value");
    if (tagName == u"saOrvix" || tagName == u"saUserParam") {
        std::unique_ptr<TBaseParameter> parameter;
        if (tagName == u"saOrvix")
            parameter = std::make_unique<TParameterOrvix>();
        else
            parameter = std::make_unique<TParameterUser>();
        parameter->SetCaption(value);
        parameter->SetParameterValue(value);
        return parameter;
    }
    if (tagName == u"saSystemParam")
        return SystemParameterFromTag(attributes);
    if (tagName == u"saOutlookAddressbook")
        return LookupParameterFromTag<TParameterOutlookAddressbook>(attributes);
    if (tagName == u"saLDAP")
        return LookupParameterFromTag<TParameterVelquist>(attributes);
    // No kind of parameter has this tag: a parameter made for it could not be stored.
    return nullptr;
}

// A lookup tag as the parameter made from it writes it: a hand-written
// <#saLDAP Value="city"> has both search options, switched off (and an address-book
// tag its caption). Without this the
// parameter made from the tag would never be found by it again.
TTagAttributes WithLookupOptions(const QString& tagName, const TTagAttributes& attributes)
{
    if (tagName != u"saLDAP" && tagName != u"saOutlookAddressbook")
        return attributes;
    TTagAttributes complete;
    for (const QStringView name : AttributeOrder) {
        QString value = attributes.Value(name);
        if (name == u"Option1" || name == u"Option2")
            value = BooleanText(value == u"True");
        // The address-book parameter writes its caption there, which is the Value of one made from a tag.
        if (name == u"Value3" && value.isEmpty() && tagName == u"saOutlookAddressbook")
            value = attributes.Value(u"Value");
        complete.Append(name.toString(), value);
    }
    return complete;
}

QStringList CanonicalTags(const QString& templateText)
{
    QStringList tags;
    for (const TTemplateTag& tag : ScanTemplateTags(templateText))
        tags.append(CanonicalTemplateTag(tag.Name, tag.Attributes));
    return tags;
}

} // namespace

QString CleanString(QStringView text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9'))
            clean += c;
    }
    return clean;
}

QString CreateTemplateTag(const TBaseParameter& parameter)
{
    const QString type = GetParameterType(&parameter);
    QString tag = u"<#" + type;
    const TTagAttributes attributes = ParameterTagAttributes(type, parameter);
    for (const auto& [name, value] : attributes.Items())
        AppendAttribute(tag, name, value);
    return tag + u'>';
}

QString CanonicalTemplateTag(const QString& tagName, const TTagAttributes& attributes)
{
    const TTagAttributes complete = WithLookupOptions(tagName, attributes);
    QString tag = u"<#" + tagName;
    for (const QStringView name : AttributeOrder) {
        const QString value = complete.Value(name);
        // The lookup parameters always write their option values, even empty ones.
        const bool writeEmpty = (name == u"Option1Value" && !complete.Value(u"Option1").isEmpty()) ||
            (name == u"Option2Value" && !complete.Value(u"Option2").isEmpty());
        if (!value.isEmpty() || writeEmpty)
            AppendAttribute(tag, name, value);
    }
    return tag + u'>';
}

QString TemplateKey(const QString& tagName, const TTagAttributes& attributes)
{
    const TTagAttributes complete = WithLookupOptions(tagName, attributes);
    QString key = tagName;
    for (const QStringView name : AttributeOrder) {
        const QString value = complete.Value(name);
        if (!value.isEmpty())
            key += u'_' + CleanString(value);
    }
    return key;
}

QString TemplateKey(const TBaseParameter& parameter)
{
    const QString type = GetParameterType(&parameter);
    return TemplateKey(type, ParameterTagAttributes(type, parameter));
}

QList<TBaseParameter*> SubActionsToClean(const QString& templatePath, const QList<TBaseParameter*>& usedParameters)
{
    QList<TBaseParameter*> missing;
    if (usedParameters.isEmpty())
        return missing;
    const QStringList present = CanonicalTags(ReadTemplateFile(templatePath));
    for (TBaseParameter* parameter : usedParameters) {
        if (parameter && !present.contains(CreateTemplateTag(*parameter)))
            missing.append(parameter);
    }
    return missing;
}

std::vector<std::unique_ptr<TBaseParameter>>
RemoveSubActions(TBaseAction& action, QList<TBaseParameter*>& usedParameters, const QList<TBaseParameter*>& toRemove)
{
    std::vector<std::unique_ptr<TBaseParameter>> removed;
    for (TBaseParameter* parameter : toRemove) {
        if (!usedParameters.removeOne(parameter))
            continue;
        Trace::Object("TemplateEditor_Core::CleanSubActions:Removing parameter", parameter);
        const bool owned = action.FreeObjects() && action.GetIndex(parameter) >= 0;
        action.RemoveItem(parameter);
        if (owned)
            removed.emplace_back(parameter);
    }
    return removed;
}

std::vector<std::unique_ptr<TBaseParameter>> CleanSubActions(const QString& templatePath, TBaseAction& action,
                                                             QList<TBaseParameter*>& usedParameters)
{
    return RemoveSubActions(action, usedParameters, SubActionsToClean(templatePath, usedParameters));
}

void CreateTemplateSubActions(const QString& templatePath, TBaseAction& action, QList<TBaseParameter*>& usedParameters)
{
    const QString text = ReadTemplateFile(templatePath);
    // A tag written twice yields one parameter.
    QStringList handled;
    // The tag each key was first seen with: keys keep only letters and digits, so
    // different tags may share one, and the value that fills both.
    QHash<QString, QString> tagOfKey;
    for (const TTemplateTag& tag : ScanTemplateTags(text)) {
        const QString canonical = CanonicalTemplateTag(tag.Name, tag.Attributes);
        if (handled.contains(canonical))
            continue;
        handled.append(canonical);
        const QString key = TemplateKey(tag.Name, tag.Attributes);
        if (const auto seen = tagOfKey.constFind(key); seen != tagOfKey.cend())
            Trace::Warning("TemplateEditor_Core::CreateTemplateSubActions:Tags share the key of their value",
                           *seen + QStringLiteral(" ") + canonical + QStringLiteral(" -> ") + key);
        else
            tagOfKey.insert(key, canonical);
        const bool listed = std::any_of(usedParameters.cbegin(), usedParameters.cend(), [&](const TBaseParameter* p) {
            return p && CreateTemplateTag(*p) == canonical;
        });
        if (listed)
            continue;
        std::unique_ptr<TBaseParameter> parameter = ParameterFromTag(tag.Name, tag.Attributes);
        if (!parameter) {
            // Left in the template as it is: the page shows it as "invalid!", which the user sees.
            Trace::Warning("TemplateEditor_Core::CreateTemplateSubActions:Unknown tag, no parameter made", canonical);
            continue;
        }
        Trace::Value("TemplateEditor_Core::CreateTemplateSubActions:New parameter for tag", canonical);
        usedParameters.append(parameter.get());
        action.AddNewItem(parameter.release());
    }
}

QString NewTemplateSample(TTemplateKind kind)
{
    if (kind == TTemplateKind::PlainText)
        return QStringLiteral("Überschrift\n\nHier steht der Text.\n");
    return QStringLiteral("<!DOCTYPE html>\n"
                          "<html lang=\"de\">\n"
                          "<head>\n"
                          "<meta charset=\"utf-8\">\n"
                          "<title>Neues Template</title>\n"
                          "</head>\n"
                          "<body>\n"
                          "<h1>Überschrift</h1>\n"
                          "<p>Hier steht der Text.</p>\n"
                          "</body>\n"
                          "</html>\n");
}
