// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "trace/MemoryTraceSink.h"
#include "trace/Trace.h"

#include <gtest/gtest.h>

#include <memory>

// Every test starts from an empty trace that is on at Debug, writing to one memory sink.
class TraceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Trace::RemoveAllSinks();
        Trace::Configure({}, {});
        Trace::SetLevel(TraceLevel::Debug);
        Trace::SetEnabled(true);
        Trace::AddSink(memory);
    }

    void TearDown() override
    {
        Trace::SetEnabled(false);
        Trace::RemoveAllSinks();
        Trace::Configure({}, {});
    }

    std::shared_ptr<MemoryTraceSink> memory = std::make_shared<MemoryTraceSink>();
};
