#pragma once

#include "model/BaseParameter.h"

/**
 * @brief A field of the first address-book contact that matches a search value.
 * ParameterValue names the field, by name or by index digit.
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
};
