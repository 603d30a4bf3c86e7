#include "platform/BackgroundWait.h"

QThreadPool& BackgroundPool()
{
    // Apart from the global pool, which discovery may keep busy for seconds; a
    // wait nested in another (two calls looking up at once) needs a thread too.
    static QThreadPool pool;
    static const bool sized = [] {
        pool.setMaxThreadCount(8);
        return true;
    }();
    Q_UNUSED(sized)
    return pool;
}
