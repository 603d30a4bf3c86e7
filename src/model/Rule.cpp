// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/Rule.h"

#include <QMetaType>

namespace {

template <typename E>
void RegisterSetConverter()
{
    QMetaType::registerConverter<TSet<E>, QString>(&TSet<E>::ToString);
}

} // namespace

void RegisterCallOptionSetConverters()
{
    static const bool registered = [] {
        RegisterSetConverter<TCallOptionBase>();
        RegisterSetConverter<TCallOptionInEx>();
        RegisterSetConverter<TCallOptionIn>();
        RegisterSetConverter<TCallOptionOut>();
        RegisterSetConverter<TCallOptionInNumber>();
        RegisterSetConverter<TCallOptionOutNumber>();
        RegisterSetConverter<TCallOptionNotificationNumber>();
        return true;
    }();
    Q_UNUSED(registered);
}

TRule::TRule()
{
    SetFreeObjects(false);
    RegisterCallOptionSetConverters();
}
