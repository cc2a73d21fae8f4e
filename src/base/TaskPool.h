#pragma once

#include <cstddef>
#include <functional>

namespace corvelt {

// One task of runTasks: told its index and the number of the thread that runs it
// (0 .. workers - 1, 0 being the calling thread), so that each thread can keep
// buffers of its own. Returning false ends the run: no index after it is handed
// out from then on.
using IndexedTask = std::function<bool(std::size_t index, unsigned worker)>;

// Runs task(0) .. task(count - 1), each at most once, on up to `workers` threads of
// which the calling thread is one. Indices are handed out in order as threads
// become free, and an index handed out is always run, so a task may wait for an
// earlier one. afterOwnTask runs on the calling thread after each task it ran
// itself, so that progress can be told, and the run stopped, from that thread
// alone. The first exception a task or afterOwnTask throws stops the handing out
// and is rethrown here once every thread is done.
void runTasks(std::size_t count, unsigned workers, const IndexedTask& task,
              const std::function<void()>& afterOwnTask = {});

// The same for tasks that need neither the thread's number nor to end the run.
void runTasks(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& task,
              const std::function<void()>& afterOwnTask = {});

// The number of threads worth using on this machine (at least 1).
unsigned defaultWorkerCount();

}  // namespace corvelt
