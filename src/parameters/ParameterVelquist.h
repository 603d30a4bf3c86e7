#pragma once

#include "model/BaseParameter.h"

/**
 * @brief A field of the contact record that the directory-lookup server finds for a
 * search value (typically the caller's number). ParameterValue names the field.
 */
class TParameterVelquist : public TBaseParameter
{
    Q_OBJECT
    Q_PROPERTY(QString SearchField MEMBER FSearchField)
    Q_PROPERTY(QString SearchBase MEMBER FSearchBase)
    Q_PROPERTY(bool SearchOptionOrvix MEMBER FSearchOptionOrvix)
    Q_PROPERTY(QString SearchOptionOrvixValue MEMBER FSearchOptionOrvixValue)
    Q_PROPERTY(bool SearchOptionUser MEMBER FSearchOptionUser)
    Q_PROPERTY(QString SearchOptionUserValue MEMBER FSearchOptionUserValue)

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
};
