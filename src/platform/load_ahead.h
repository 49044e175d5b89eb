// Files decoded on a thread of its own while start-up does the work that needs
// the main thread (the window, GL uploads, shader compiles). Loads are queued
// by key (a file's path) in the order the loader will ask for them, and each
// result is claimed once. The thread stays at most a memory budget ahead of
// the claims, so reading ahead does not raise the game's peak memory. A key never queued, already claimed or whose load
// failed ahead is for the caller to load itself, as if nothing had been done
// ahead: what the game loads, and every message it prints, stay the same.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ruma {

class LoadAhead {
public:
    // A load's result, freed by its own deleter; null when the load failed.
    using Result = std::shared_ptr<void>;
    // Makes the result for key and tells about how many bytes it holds.
    using Load = std::function<Result(const std::string& key, size_t& bytes)>;

    explicit LoadAhead(size_t budgetBytes = kDefaultBudget) : budget(budgetBytes) {}
    LoadAhead(const LoadAhead&) = delete;
    LoadAhead& operator=(const LoadAhead&) = delete;
    ~LoadAhead();

    // Queues before start(): later queues are ignored.
    void queue(const std::string& key, Load load);
    void start();
    // The first unclaimed result for key, waiting while its load runs; null
    // when there is none (or it failed).
    Result claim(const std::string& key);
    // Ends the thread after the load at hand and drops what was not claimed.
    void stop();
    // Keys queued and never claimed (work done for nothing), and keys claimed
    // that were never queued (work the loader did itself): a list out of step
    // with the loader shows in these.
    std::vector<std::string> unclaimedKeys() const;
    std::vector<std::string> missedKeys() const;

    // Results waiting for their claim may hold this much before the thread
    // waits; a claim of a later key lets it go on regardless.
    static constexpr size_t kDefaultBudget = size_t(24) << 20;

private:
    struct Job {
        std::string key;
        Load load;
        Result result;
        size_t bytes = 0;   // counted in held while the result waits
        bool done = false;
        bool claimed = false;
    };
    void run();

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> jobs;   // a deque: a job's place never moves while others are queued
    std::vector<std::string> missed;
    const size_t budget;
    size_t held = 0;
    long furthestClaim = -1;   // index of the furthest job claimed
    std::thread worker;
    bool started = false;
    bool stopping = false;
};

// The loads made ahead during start-up; null the rest of the time.
extern LoadAhead* loadAhead;

// The result loaded ahead for key, or null when there is no loader or none.
LoadAhead::Result claimLoadedAhead(const std::string& key);

} // namespace ruma
