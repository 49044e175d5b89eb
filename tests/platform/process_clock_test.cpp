// The process's age as the system records it, which the benchmark's start-up
// figures count from.
#include "platform/resident_memory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace ruma {
namespace {

TEST(ProcessClock, CountsFromTheProcessStartAndGoesOnWithTheClock)
{
    const double before = secondsSinceProcessStart();
    EXPECT_GT(before, 0.0);
    EXPECT_LT(before, 600.0) << "no test program has run for ten minutes yet";
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    // The system counts in ticks of 10 ms at most; a busy machine may sleep longer.
    const double after = secondsSinceProcessStart();
    EXPECT_GE(after - before, 0.10);
    EXPECT_LT(after - before, 60.0);
}

} // namespace
} // namespace ruma
