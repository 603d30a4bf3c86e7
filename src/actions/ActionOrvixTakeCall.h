#pragma once

#include "model/BaseAction.h"

/**
 * @brief Answers the call of its snapshot, or picks up a signalled group call.
 */
class TActionOrvixTakeCall : public TBaseAction
{
    Q_OBJECT
public:
    TActionOrvixTakeCall();
};
