// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/ParameterKinds.h"

#include "parameters/ParameterInteraction.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"
#include "parameters/ParameterVelquist.h"

#include <array>
#include <stdexcept>

namespace {

template <typename T>
TParameterKind Kind(std::string_view identifier, const QString& caption, QStringView icon, TParameterDialog dialog,
                    const QString& dialogCaption)
{
    return {&T::staticMetaObject, identifier, caption, icon, dialog, dialogCaption, [] {
                return std::unique_ptr<TBaseParameter>(std::make_unique<T>());
            }};
}

// Every kind can be added by hand, the question and the address-book field too.
const std::array<TParameterKind, 6>& Table()
{
    static const std::array<TParameterKind, 6> table {
        Kind<TParameterOrvix>("saOrvix", QStringLiteral("Orvix-Parameter"), u"call", TParameterDialog::Multi,
                              QStringLiteral("Orvix-Parameter")),
        Kind<TParameterVelquist>("saLDAP", QStringLiteral("Velquist-Parameter"), u"manage_search",
                                 TParameterDialog::Multi, QStringLiteral("Velquist-Parameter")),
        Kind<TParameterUser>("saUserParam", QStringLiteral("Benutzer-Parameter"), u"person", TParameterDialog::User,
                             QStringLiteral("Benutzer-Parameter")),
        Kind<TParameterSystem>("saSystemParam", QStringLiteral("System-Parameter"), u"computer",
                               TParameterDialog::System, QStringLiteral("System-Parameter")),
        Kind<TParameterInteraction>("saInteraction", QStringLiteral("Interaktion"), u"keyboard",
                                    TParameterDialog::Interaction, QStringLiteral("Interaktion definieren")),
        Kind<TParameterOutlookAddressbook>("saOutlookAddressbook", QStringLiteral("Outlook-Parameter"),
                                           u"import_contacts", TParameterDialog::Multi,
                                           QStringLiteral("Outlook-Adressbuch-Parameter")),
    };
    return table;
}

} // namespace

std::span<const TParameterKind> ParameterKinds()
{
    return Table();
}

const TParameterKind* FindParameterKind(const QMetaObject& meta)
{
    for (const TParameterKind& kind : Table()) {
        if (kind.Class == &meta)
            return &kind;
    }
    return nullptr;
}

const TParameterKind* FindParameterKind(const TBaseParameter& parameter)
{
    return FindParameterKind(*parameter.metaObject());
}

const TParameterKind& ParameterKindOf(const QMetaObject& meta)
{
    if (const TParameterKind* kind = FindParameterKind(meta))
        return *kind;
    throw std::logic_error(std::string("No parameter kind for class ") + meta.className());
}
