// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/BackgroundWait.h"

namespace {

// Apart from Qt's global pool, which discovery may keep busy for seconds; a wait
// nested in another (two calls looking up at once) needs a thread too.
class TBackgroundPool : public QThreadPool
{
public:
    TBackgroundPool() { setMaxThreadCount(8); }
};

} // namespace

QThreadPool& BackgroundPool()
{
    static TBackgroundPool pool;
    return pool;
}
