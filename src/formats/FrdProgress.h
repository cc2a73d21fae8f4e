#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "base/ReadProgress.h"

namespace corvelt {

// The progress of one stage of a .frd read: work is added from any thread, and
// told to the caller's callback from the calling thread only, as the share
// [from, to) of the whole read. A callback that returns false cancels the read.
class FrdProgress {
  public:
    FrdProgress(const ReadProgress& progress, double from, double to, std::int64_t total)
        : progress_(progress),
          from_(from),
          to_(to),
          total_(static_cast<double>(std::max<std::int64_t>(total, 1))) {}

    void add(std::int64_t done) { done_.fetch_add(done, std::memory_order_relaxed); }

    // Throws ReadCancelled when the callback asks to stop.
    void report() {
        if (!progress_) return;
        const double share =
            std::min(static_cast<double>(done_.load(std::memory_order_relaxed)) / total_, 1.0);
        const double fraction = from_ + (to_ - from_) * share;
        if (fraction <= lastTold_) return;
        lastTold_ = fraction;
        if (!progress_(fraction)) throw ReadCancelled();
    }

  private:
    const ReadProgress& progress_;
    double from_;
    double to_;
    double total_;
    std::atomic<std::int64_t> done_{0};
    double lastTold_ = -1.0;
};

}  // namespace corvelt
