#include "model/TaskPool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace corvelt {

namespace {

class TaskQueue {
  public:
    TaskQueue(std::size_t count, const std::function<void(std::size_t)>& task)
        : count_(count), task_(task) {}

    // Runs tasks until none is left or one has failed.
    template <typename AfterEach>
    void drain(AfterEach&& afterEach) {
        for (std::size_t index = next_.fetch_add(1); index < count_; index = next_.fetch_add(1)) {
            try {
                task_(index);
                afterEach();
            } catch (...) {
                fail(std::current_exception());
                return;
            }
        }
    }

    void rethrowFailure() {
        if (failure_) std::rethrow_exception(failure_);
    }

  private:
    void fail(std::exception_ptr error) {
        const std::lock_guard lock(failureMutex_);
        if (!failure_) failure_ = std::move(error);
        next_.store(count_);  // hand out nothing more
    }

    std::size_t count_;
    const std::function<void(std::size_t)>& task_;
    std::atomic<std::size_t> next_{0};
    std::mutex failureMutex_;
    std::exception_ptr failure_;
};

}  // namespace

void runTasks(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& task,
              const std::function<void()>& afterOwnTask) {
    TaskQueue queue(count, task);
    const std::size_t helperCount =
        std::min<std::size_t>(count, std::max(workers, 1u)) - (count > 0 ? 1 : 0);
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(helperCount);
        for (std::size_t h = 0; h < helperCount; ++h) {
            // Without another thread the work still gets done, only on fewer cores.
            try {
                helpers.emplace_back([&queue] { queue.drain([] {}); });
            } catch (const std::system_error&) {
                break;
            }
        }
        queue.drain([&afterOwnTask] {
            if (afterOwnTask) afterOwnTask();
        });
    }  // joins the helpers
    queue.rethrowFailure();
}

unsigned defaultWorkerCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace corvelt
