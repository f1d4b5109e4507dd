#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/modules/ModuleDetails.h"

namespace modshelf::modules {

// One module to read for the list, and the row its fields go to.
struct DetailsJob {
    std::size_t row;
    std::string path;
};

// Reads the Details of modules on worker threads while the caller is still
// listing the folder: jobs are published one by one as their rows are built,
// and the workers start on them at once. The caller then reads along with
// the workers, batch by batch, so that a batch's rows can be shown as soon as
// its modules are read. The threads live as long as the pool, one scan.
class DetailsReadPool {
public:
    // `jobs` must have its full capacity reserved before the first publish,
    // so that workers can read published jobs while more are appended.
    DetailsReadPool(const std::vector<DetailsJob>& jobs, std::vector<ModuleDetails>& results,
                    unsigned workers, const std::atomic<bool>* cancel);
    ~DetailsReadPool();
    DetailsReadPool(const DetailsReadPool&) = delete;
    DetailsReadPool& operator=(const DetailsReadPool&) = delete;

    // Jobs [0, count) may now be read.
    void publish(std::size_t count);
    // Reads on the calling thread until every job below `end` is done;
    // false once reading was cancelled.
    bool complete(std::size_t end);

private:
    bool cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }
    bool claim(std::size_t& index);
    void read(std::size_t index);
    void work();

    const std::vector<DetailsJob>& jobs_;
    std::vector<ModuleDetails>& results_;
    const std::atomic<bool>* cancel_;
    std::unique_ptr<std::atomic<bool>[]> done_;
    std::size_t doneBelow_ = 0;  // the caller's cursor: every job below it is done
    std::atomic<std::size_t> next_{0};
    std::atomic<std::size_t> published_{0};
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::condition_variable published_cv_;
    std::condition_variable done_cv_;
    std::vector<std::thread> threads_;
};

// How many threads read modules for `threads` asked for (0: every core).
unsigned readingThreads(unsigned threads);

}  // namespace modshelf::modules
