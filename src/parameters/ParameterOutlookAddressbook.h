// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseParameter.h"

class TContactItem;

/**
 * @brief A field of the first address-book contact that matches a search value.
 * ParameterValue names the field, by name or by index digit.
 *
 * The search value comes from a call value or a user variable of the call, as
 * for the directory lookup; telephone fields also match in the canonical form
 * of the call's telephone system. Finding nothing never cancels the action.
 */
class TParameterOutlookAddressbook : public TBaseParameter
{
    Q_OBJECT
    Q_PROPERTY(QString SearchField READ SearchField WRITE SetSearchField)
    Q_PROPERTY(bool SearchOptionOrvix READ SearchOptionOrvix WRITE SetSearchOptionOrvix)
    Q_PROPERTY(QString SearchOptionOrvixValue READ SearchOptionOrvixValue WRITE SetSearchOptionOrvixValue)
    Q_PROPERTY(bool SearchOptionUser READ SearchOptionUser WRITE SetSearchOptionUser)
    Q_PROPERTY(QString SearchOptionUserValue READ SearchOptionUserValue WRITE SetSearchOptionUserValue)

public:
    TParameterOutlookAddressbook();

    // The contact field to search in, or "All".
    KESTRUN_FIELD(QString, SearchField)
    // Take the search value from a call value.
    KESTRUN_FIELD(bool, SearchOptionOrvix, true)
    // That call value's name.
    KESTRUN_FIELD(QString, SearchOptionOrvixValue)
    // Take the search value from a user variable.
    KESTRUN_FIELD(bool, SearchOptionUser, false)
    // That variable's name.
    KESTRUN_FIELD(QString, SearchOptionUserValue)

public:
    QString GetParamResult(TActionContext& context) override;

    // The contact's field named by `field`, a field name or its index digit ("2"
    // is "FullName"); empty, with a warning trace, when it names none of the fields.
    static QString GetAddressbookFieldFromParameter(const TContactItem& contact, const QString& field);
};
