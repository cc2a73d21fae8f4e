#pragma once

#include <cstddef>
#include <functional>

namespace corvelt {

// Runs task(0) .. task(count - 1), each once, on up to `workers` threads of which the
// calling thread is one; tasks are handed out in index order as threads become
// free. afterOwnTask runs on the calling thread after each task it ran itself, so
// that progress can be told from that thread alone. The first exception a task
// throws stops the handing out and is rethrown here once every thread is done.
void runTasks(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& task,
              const std::function<void()>& afterOwnTask = {});

// The number of threads worth using on this machine (at least 1).
unsigned defaultWorkerCount();

}  // namespace corvelt
