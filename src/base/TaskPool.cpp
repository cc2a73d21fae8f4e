#include "base/TaskPool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace corvelt {

namespace {

class TaskQueue {
  public:
    TaskQueue(std::size_t count, const IndexedTask& task) : end_(count), task_(task) {}

    // Runs tasks until none is left, one has failed or one has ended the run.
    void drain(unsigned worker, const std::function<void()>& afterEach = {}) {
        for (std::optional<std::size_t> index = take(); index; index = take()) {
            try {
                if (!task_(*index, worker)) endAfter(*index);
                if (afterEach) afterEach();
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
    // Hands out the next index, unless the run has ended. An index handed out is
    // always run, so a task may wait for any task before it.
    std::optional<std::size_t> take() {
        std::size_t index = next_.load();
        while (index < end_.load())
            if (next_.compare_exchange_weak(index, index + 1)) return index;
        return std::nullopt;
    }

    // Indices after `index` are not handed out; an earlier end stays.
    void endAfter(std::size_t index) {
        std::size_t end = end_.load();
        while (index + 1 < end && !end_.compare_exchange_weak(end, index + 1)) {
        }
    }

    void fail(std::exception_ptr error) {
        const std::lock_guard lock(failureMutex_);
        if (!failure_) failure_ = std::move(error);
        end_.store(0);  // hand out nothing more
    }

    std::atomic<std::size_t> end_;
    const IndexedTask& task_;
    std::atomic<std::size_t> next_{0};
    std::mutex failureMutex_;
    std::exception_ptr failure_;
};

}  // namespace

void runTasks(std::size_t count, unsigned workers, const IndexedTask& task,
              const std::function<void()>& afterOwnTask) {
    TaskQueue queue(count, task);
    const auto threads = static_cast<unsigned>(std::min<std::size_t>(count, std::max(workers, 1u)));
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(threads > 0 ? threads - 1 : 0);
        for (unsigned worker = 1; worker < threads; ++worker) {
            // Without another thread the work still gets done, only on fewer cores.
            try {
                helpers.emplace_back([&queue, worker] { queue.drain(worker); });
            } catch (const std::system_error&) {
                break;
            }
        }
        queue.drain(0, afterOwnTask);
    }  // joins the helpers
    queue.rethrowFailure();
}

void runTasks(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& task,
              const std::function<void()>& afterOwnTask) {
    runTasks(
        count, workers,
        [&task](std::size_t index, unsigned) {
            task(index);
            return true;
        },
        afterOwnTask);
}

unsigned defaultWorkerCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace corvelt
