// SPDX-License-Identifier: GPL-3.0-or-later

#include "rulesfile/RecordTypes.h"

#include "actions/ActionKinds.h"
#include "model/BaseAction.h"
#include "model/BaseParameter.h"
#include "parameters/ParameterKinds.h"
#include "platform/AsciiCase.h"

namespace {

QString ToQString(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

// The kinds tables hold the identifiers and the factories; an identifier names its class whatever the case.
template <typename Kind>
auto Make(std::span<const Kind> kinds, std::string_view identifier) -> decltype(kinds.front().Make())
{
    for (const Kind& kind : kinds) {
        if (SameIgnoringAsciiCase(kind.TypeIdentifier, identifier))
            return kind.Make();
    }
    return nullptr;
}

template <typename Kind>
QStringList Identifiers(std::span<const Kind> kinds)
{
    QStringList result;
    for (const Kind& kind : kinds)
        result.append(ToQString(kind.TypeIdentifier));
    return result;
}

} // namespace

QString GetBaseActionType(const TBaseAction* action)
{
    const TActionKind* kind = action ? FindActionKind(*action) : nullptr;
    return kind ? ToQString(kind->TypeIdentifier) : QString();
}

std::unique_ptr<TBaseAction> GetBaseActionObject(std::string_view identifier)
{
    return Make(ActionKinds(), identifier);
}

std::unique_ptr<TBaseAction> GetBaseActionObject(QStringView identifier)
{
    const QByteArray utf8 = identifier.toUtf8();
    return GetBaseActionObject(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

QString GetParameterType(const TBaseParameter* parameter)
{
    const TParameterKind* kind = parameter ? FindParameterKind(*parameter) : nullptr;
    return kind ? ToQString(kind->TypeIdentifier) : QStringLiteral("unknown");
}

std::unique_ptr<TBaseParameter> GetParameterObject(std::string_view identifier)
{
    return Make(ParameterKinds(), identifier);
}

std::unique_ptr<TBaseParameter> GetParameterObject(QStringView identifier)
{
    const QByteArray utf8 = identifier.toUtf8();
    return GetParameterObject(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

QStringList BaseActionTypes()
{
    return Identifiers(ActionKinds());
}

QStringList ParameterTypes()
{
    return Identifiers(ParameterKinds());
}
