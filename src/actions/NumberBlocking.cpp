// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/NumberBlocking.h"

namespace {

// Set by the program at start, read by actions on the main thread only.
TNumberBlocking* g_numberBlocking = nullptr;

} // namespace

TNumberBlocking* NumberBlocking()
{
    return g_numberBlocking;
}

void SetNumberBlocking(TNumberBlocking* blocking)
{
    g_numberBlocking = blocking;
}
