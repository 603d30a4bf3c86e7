// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseAction.h"

/**
 * @brief Skips the following items of a sequence, or ends it, depending on whether the
 * previous action succeeded. The sequence reads its fields; it never runs it.
 */
class TActionStopper : public TBaseAction
{
    Q_OBJECT
    Q_PROPERTY(bool BlockOnSuccess READ BlockOnSuccess WRITE SetBlockOnSuccess)
    Q_PROPERTY(bool BlockAllActions READ BlockAllActions WRITE SetBlockAllActions)
    Q_PROPERTY(int BlockCount READ BlockCount WRITE SetBlockCount)

public:
    TActionStopper();

    // True: react when the previous action succeeded; false: when it failed.
    KESTRUN_FIELD(bool, BlockOnSuccess, true)
    // True: end the sequence; false: skip BlockCount items.
    KESTRUN_FIELD(bool, BlockAllActions, false)
    KESTRUN_FIELD(int, BlockCount, 1)

    QString GetDescription() const override;
};
