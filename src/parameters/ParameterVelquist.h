// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseParameter.h"

/**
 * @brief A field of the contact record that the directory-lookup server finds for a
 * search value (typically the caller's number). ParameterValue names the field.
 *
 * The search value comes from a call value or a user variable of the call. Fields of
 * the record whose names begin with "custom0" or "custom1" also become user
 * variables of the call, whatever field the parameter returns.
 */
class TParameterVelquist : public TBaseParameter
{
    Q_OBJECT
    Q_PROPERTY(QString SearchField READ SearchField WRITE SetSearchField)
    Q_PROPERTY(QString SearchBase READ SearchBase WRITE SetSearchBase)
    Q_PROPERTY(bool SearchOptionOrvix READ SearchOptionOrvix WRITE SetSearchOptionOrvix)
    Q_PROPERTY(QString SearchOptionOrvixValue READ SearchOptionOrvixValue WRITE SetSearchOptionOrvixValue)
    Q_PROPERTY(bool SearchOptionUser READ SearchOptionUser WRITE SetSearchOptionUser)
    Q_PROPERTY(QString SearchOptionUserValue READ SearchOptionUserValue WRITE SetSearchOptionUserValue)

public:
    TParameterVelquist();

    // "searchnumber", "searchcontact", "searchindividual" or a directory field.
    KESTRUN_FIELD(QString, SearchField, QStringLiteral("searchnumber"))
    // The search template on the server.
    KESTRUN_FIELD(QString, SearchBase, QStringLiteral("kestrunclient"))
    // Take the search value from a call value.
    KESTRUN_FIELD(bool, SearchOptionOrvix, true)
    // That call value's name.
    KESTRUN_FIELD(QString, SearchOptionOrvixValue, QStringLiteral("orvixCallerNumber"))
    // Take the search value from a user variable.
    KESTRUN_FIELD(bool, SearchOptionUser, false)
    // That variable's name.
    KESTRUN_FIELD(QString, SearchOptionUserValue)

public:
    // The lookup; the search value is number-converted for "searchnumber" and for
    // catalogue fields of the telephone type.
    QString GetParamResult(TActionContext& context) override;

private:
    static bool IsCatalogueNumberField(const QString& field);
};
