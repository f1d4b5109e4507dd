#include "core/modules/DetailsReadPool.h"

#include <algorithm>
#include <chrono>

namespace modshelf::modules {

unsigned readingThreads(unsigned threads) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    return std::min<unsigned>(threads, 16);
}

DetailsReadPool::DetailsReadPool(const std::vector<DetailsJob>& jobs,
                                 std::vector<ModuleDetails>& results, unsigned workers,
                                 const std::atomic<bool>* cancel)
    : jobs_(jobs),
      results_(results),
      cancel_(cancel),
      done_(std::make_unique<std::atomic<bool>[]>(jobs.capacity())) {
    threads_.reserve(workers);
    for (unsigned i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
}

DetailsReadPool::~DetailsReadPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    published_cv_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void DetailsReadPool::publish(std::size_t count) {
    published_.store(count, std::memory_order_release);
    if (threads_.empty()) return;
    // Taking the lock orders this with a worker that has just found nothing
    // to claim and is about to wait.
    { std::lock_guard lock(mutex_); }
    published_cv_.notify_one();
}

bool DetailsReadPool::claim(std::size_t& index) {
    std::size_t next = next_.load(std::memory_order_relaxed);
    while (next < published_.load(std::memory_order_acquire)) {
        if (next_.compare_exchange_weak(next, next + 1, std::memory_order_acq_rel)) {
            index = next;
            return true;
        }
    }
    return false;
}

void DetailsReadPool::read(std::size_t index) {
    results_[index] = readListedDetails(jobs_[index].path);
    done_[index].store(true, std::memory_order_release);
}

void DetailsReadPool::work() {
    for (;;) {
        if (cancelled()) return;
        std::size_t index = 0;
        if (claim(index)) {
            read(index);
            done_cv_.notify_one();
            continue;
        }
        std::unique_lock lock(mutex_);
        published_cv_.wait(lock, [this] {
            return stopping_ || cancelled() ||
                   next_.load(std::memory_order_relaxed) <
                       published_.load(std::memory_order_acquire);
        });
        if (stopping_) return;
    }
}

bool DetailsReadPool::complete(std::size_t end) {
    for (;;) {
        if (cancelled()) return false;
        while (doneBelow_ < end && done_[doneBelow_].load(std::memory_order_acquire)) ++doneBelow_;
        if (doneBelow_ >= end) return true;
        std::size_t index = 0;
        if (claim(index)) {
            read(index);
            continue;
        }
        // Only the last modules of the batch are still being read elsewhere;
        // a worker's notice may slip past, so the wait is short.
        std::unique_lock lock(mutex_);
        done_cv_.wait_for(lock, std::chrono::microseconds(200));
    }
}

}  // namespace modshelf::modules
