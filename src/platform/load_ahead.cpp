#include "platform/load_ahead.h"

#include <malloc.h>

#include <algorithm>

namespace ruma {

LoadAhead* loadAhead = nullptr;

LoadAhead::~LoadAhead() { stop(); }

void LoadAhead::queue(const std::string& key, Load load)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (started) return;
    jobs.push_back(Job{key, std::move(load), nullptr, 0, false, false});
}

void LoadAhead::start()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (started) return;
    started = true;
    worker = std::thread(&LoadAhead::run, this);
}

void LoadAhead::run()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (size_t index = 0; index < jobs.size(); ++index) {
        Job& job = jobs[index];
        changed.wait(lock, [&] { return stopping || held < budget || static_cast<long>(index) <= furthestClaim; });
        if (stopping) break;
        lock.unlock();
        size_t bytes = 0;
        Result result = job.load(job.key, bytes);
        lock.lock();
        job.result = std::move(result);
        job.done = true;
        if (!job.claimed && job.result) {
            job.bytes = bytes;
            held += bytes;
        }
        changed.notify_all();
    }
    // Whatever was not reached is never coming: a claim must not wait for it.
    for (Job& job : jobs) job.done = true;
    changed.notify_all();
}

LoadAhead::Result LoadAhead::claim(const std::string& key)
{
    std::unique_lock<std::mutex> lock(mutex);
    for (size_t index = 0; index < jobs.size(); ++index) {
        Job& job = jobs[index];
        if (job.claimed || job.key != key) continue;
        job.claimed = true;
        furthestClaim = std::max(furthestClaim, static_cast<long>(index));
        changed.notify_all();
        changed.wait(lock, [&] { return job.done; });
        held -= job.bytes;
        job.bytes = 0;
        changed.notify_all();
        return std::move(job.result);
    }
    missed.push_back(key);
    return nullptr;
}

void LoadAhead::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    // The thread may be waiting for room in its budget.
    changed.notify_all();
    const bool ran = worker.joinable();
    if (ran) worker.join();
    std::unique_lock<std::mutex> lock(mutex);
    for (Job& job : jobs) {
        job.result.reset();
        job.done = true;
    }
    lock.unlock();
    // The C library keeps a pool of memory per thread: what the ended thread
    // freed there would stay in the game's memory, unusable by any other.
    if (ran) malloc_trim(0);
}

std::vector<std::string> LoadAhead::unclaimedKeys() const
{
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<std::string> keys;
    for (const Job& job : jobs)
        if (!job.claimed) keys.push_back(job.key);
    return keys;
}

std::vector<std::string> LoadAhead::missedKeys() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return missed;
}

LoadAhead::Result claimLoadedAhead(const std::string& key)
{
    return loadAhead ? loadAhead->claim(key) : nullptr;
}

} // namespace ruma
