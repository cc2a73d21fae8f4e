#pragma once

// What the file and table benches share: best-of-N wall and processor time, the
// process's own memory as the kernel counts it, and a child to measure it in.

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>
#include <thread>
#include <utility>

extern char** environ;

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

// The anonymous resident memory before a call and its peak during it, in kilobytes,
// followed by a sampler thread every millisecond.
struct AnonymousPeak {
    std::int64_t before = 0;
    std::int64_t peak = 0;
};

template <typename Call>
AnonymousPeak anonymousPeakDuring(Call&& call) {
    AnonymousPeak memory{statusKilobytes("RssAnon"), 0};
    memory.peak = memory.before;
    std::atomic<bool> done{false};
    std::thread sampler([&] {
        while (!done.load()) {
            memory.peak = std::max(memory.peak, statusKilobytes("RssAnon"));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    call();
    done.store(true);
    sampler.join();
    memory.peak = std::max(memory.peak, statusKilobytes("RssAnon"));
    return memory;
}

// Runs this program again as "PROGRAM --measure-memory FILE", so that a read's peak
// is measured in a fresh process, and returns what the child printed.
inline std::string outputOfMeasuringChild(const std::filesystem::path& file) {
    int fds[2];
    if (::pipe(fds) != 0) return "";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string(),
                flag = "--measure-memory", path = file.string();
    char* argv[] = {self.data(), flag.data(), path.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    if (spawned == 0) ::waitpid(child, nullptr, 0);
    return output;
}

// "NAME 12.345 ms, 678.9 MB/s (23.456 ms of processor time)".
inline void reportTiming(const std::string& name, const Timing& time, double megabytes) {
    std::cout << name << std::setprecision(3) << time.wall * 1e3 << " ms, " << std::setprecision(1)
              << megabytes / time.wall << " MB/s (" << std::setprecision(3) << time.processor * 1e3
              << " ms of processor time)\n";
}

// "ratio: 4.20x (processor time: 2.10x)", the baseline's time over ours.
inline void reportRatio(const Timing& baseline, const Timing& ours) {
    std::cout << std::setprecision(2) << "ratio: " << baseline.wall / ours.wall
              << "x (processor time: " << baseline.processor / ours.processor << "x)\n";
}

}  // namespace corvelt::bench
