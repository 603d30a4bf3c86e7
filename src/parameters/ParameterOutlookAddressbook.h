#pragma once

#include "model/BaseParameter.h"

/**
 * @brief A field of the first address-book contact that matches a search value.
 * ParameterValue names the field, by name or by index digit.
 */
class TParameterOutlookAddressbook : public TBaseParameter
{
    Q_OBJECT
    Q_PROPERTY(QString SearchField MEMBER FSearchField)
    Q_PROPERTY(bool SearchOptionOrvix MEMBER FSearchOptionOrvix)
    Q_PROPERTY(QString SearchOptionOrvixValue MEMBER FSearchOptionOrvixValue)
    Q_PROPERTY(bool SearchOptionUser MEMBER FSearchOptionUser)
    Q_PROPERTY(QString SearchOptionUserValue MEMBER FSearchOptionUserValue)

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
};
