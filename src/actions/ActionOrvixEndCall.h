#pragma once

#include "model/BaseAction.h"

/**
 * @brief Ends the call of its snapshot.
 */
class TActionOrvixEndCall : public TBaseAction
{
    Q_OBJECT
public:
    TActionOrvixEndCall();
};
