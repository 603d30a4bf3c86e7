#pragma once

#include "model/BaseParameter.h"

/**
 * @brief A question put to the user while the call is handled; cancelling the question cancels the action.
 */
class TParameterInteraction : public TBaseParameter
{
    Q_OBJECT
    Q_PROPERTY(QString Query MEMBER FQuery)
    Q_PROPERTY(bool IsSimpleInput MEMBER FIsSimpleInput)
    Q_PROPERTY(QString Items MEMBER FItems)

public:
    TParameterInteraction();

    // The question shown to the user.
    KESTRUN_FIELD(QString, Query)
    // True: free text field; false: choice from Items.
    KESTRUN_FIELD(bool, IsSimpleInput, true)
    // The answers to choose from, one per line.
    KESTRUN_FIELD(QString, Items)
};
