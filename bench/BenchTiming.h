#pragma once

// What the file and table benches share: best-of-N wall and processor time, and the
// process's own memory as the kernel counts it.

#include <time.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>

namespace corvelt::bench {

// Wall and processor time of one call, in seconds. Processor time shows the work
// apart from the machine's load: on a busy machine our two threads wait for cores
// that a single thread would not.
struct Timing {
    double wall = 1e300;
    double processor = 0;
};

inline double processorSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The run with the best wall time of `runs` calls of make(); each result is handed
// to use() after the clock has stopped (and dies after it, too).
template <typename Make, typename Use>
Timing bestTime(int runs, Make&& make, Use&& use) {
    Timing best;
    for (int run = 0; run < runs; ++run) {
        const double processorStart = processorSeconds();
        const auto start = std::chrono::steady_clock::now();
        auto result = make();
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (wall < best.wall) best = {wall, processorSeconds() - processorStart};
        use(std::move(result));
    }
    return best;
}

// The same for calls without a result.
template <typename Call>
Timing bestTime(int runs, Call&& call) {
    return bestTime(
        runs,
        [&] {
            call();
            return 0;
        },
        [](int) {});
}

// A line of /proc/self/status in kilobytes ("RssAnon", "VmHWM"), or -1.
inline std::int64_t statusKilobytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(key + ":")) return std::stoll(line.substr(key.size() + 1));
    return -1;
}

}  // namespace corvelt::bench
