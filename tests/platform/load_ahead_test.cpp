// Loading ahead on a thread of its own: results reach the one who claims their
// key, in any order; whatever is not ready, not queued or failed leaves the
// caller to load it itself; and the thread keeps within its memory budget.
#include "platform/load_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace ruma {
namespace {

int valueOf(const LoadAhead::Result& result) { return result ? *static_cast<int*>(result.get()) : -1; }

// A load of value holding bytes, counted in made.
LoadAhead::Load counted(std::atomic<int>& made, int value, size_t bytes = 1)
{
    return [&made, value, bytes](const std::string&, size_t& held) {
        ++made;
        held = bytes;
        return std::make_shared<int>(value);
    };
}

bool eventually(const std::function<bool()>& condition)
{
    for (int i = 0; i < 2000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
}

TEST(LoadAhead, EachQueuedLoadIsClaimedOnceByItsKeyAndTheRestIsReported)
{
    LoadAhead loads;
    std::atomic<int> made{0};
    loads.queue("a", counted(made, 1));
    loads.queue("slime", counted(made, 2));
    loads.queue("slime", counted(made, 3));
    loads.queue("broken", [](const std::string&, size_t&) { return LoadAhead::Result(); });
    loads.queue("never claimed", counted(made, 5));
    loads.start();
    loads.queue("too late", counted(made, 6));

    EXPECT_EQ(valueOf(loads.claim("slime")), 2) << "out of order";
    EXPECT_EQ(valueOf(loads.claim("a")), 1);
    EXPECT_EQ(valueOf(loads.claim("slime")), 3) << "a repeated key is one load per claim";
    EXPECT_EQ(loads.claim("slime"), nullptr);
    EXPECT_EQ(loads.claim("broken"), nullptr) << "a failed load is the caller's to do again";
    EXPECT_EQ(loads.claim("too late"), nullptr);
    loads.stop();
    EXPECT_EQ(made.load(), 4);
    EXPECT_EQ(loads.unclaimedKeys(), std::vector<std::string>{"never claimed"});
    EXPECT_EQ(loads.missedKeys(), (std::vector<std::string>{"slime", "too late"}));
    EXPECT_EQ(loads.claim("never claimed"), nullptr) << "results are dropped when the thread ends";
}

TEST(LoadAhead, TheThreadWaitsAtItsBudgetUntilAClaimAndNeverBlocksAClaim)
{
    std::atomic<int> made{0};
    LoadAhead loads(100);
    for (int i = 0; i < 6; ++i) loads.queue("big" + std::to_string(i), counted(made, i, 60));
    loads.start();
    ASSERT_TRUE(eventually([&] { return made == 2; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(made.load(), 2) << "two results of 60 bytes fill a budget of 100";
    EXPECT_EQ(valueOf(loads.claim("big0")), 0);
    EXPECT_TRUE(eventually([&] { return made == 3; })) << "a claim makes room for one more";
    // A claim far ahead is served even though the results before it fill the budget.
    EXPECT_EQ(valueOf(loads.claim("big5")), 5);
    EXPECT_EQ(made.load(), 6);
    loads.stop();

    // A game that ends while the thread waits for room (a damaged file)
    // stops it at once rather than hanging.
    LoadAhead full(10);
    made = 0;
    for (int i = 0; i < 3; ++i) full.queue("big" + std::to_string(i), counted(made, i, 60));
    full.start();
    ASSERT_TRUE(eventually([&] { return made == 1; }));
    full.stop();
    EXPECT_EQ(made.load(), 1);

    // A claim waits for the load under way; a loader stopped before its
    // thread started runs nothing, and a claim returns at once.
    LoadAhead slow;
    std::atomic<bool> release{false};
    slow.queue("slow", [&](const std::string&, size_t&) {
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return std::make_shared<int>(7);
    });
    slow.start();
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        release = true;
    });
    EXPECT_EQ(valueOf(slow.claim("slow")), 7);
    releaser.join();
    LoadAhead unstarted;
    unstarted.queue("x", counted(made, 1));
    unstarted.stop();
    EXPECT_EQ(unstarted.claim("x"), nullptr);
}

} // namespace
} // namespace ruma
