// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "LineSimError.h"

/**
 * @brief A failure of the bridge or of its talk with baresip; the message is meant for the user as it is.
 */
class BridgeError : public LineSimError
{
public:
    using LineSimError::LineSimError;
};
