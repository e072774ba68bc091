// Timing helpers shared by the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>
#include <sys/resource.h>

using BenchClock = std::chrono::steady_clock;

// CPU time of the calling thread (user and system), in seconds.
inline double ThreadCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline double Seconds(BenchClock::duration d) { return std::chrono::duration<double>(d).count(); }

// One line per pass against its ideal time (wire, reply delays, mandated
// waits), then the medians of the complete passes.
class PassReport {
public:
    void Pass(int pass, size_t frames, int answered, bool ok, double wall, double cpu, double wire,
              double replyDelays, double waits)
    {
        const double ideal = wire + replyDelays + waits;
        const double overhead = 100.0 * (wall - ideal) / ideal;
        failures_ += !ok;
        if (ok) {
            overheads_.push_back(overhead);
            cpuShares_.push_back(100.0 * cpu / wall);
        }
        std::printf("pass %d: %zu frames, %d exchanges%s: wall %.2f ms against %.2f ms (wire %.2f, reply delays "
                    "%.2f, waits %.2f): %+.1f%%; CPU %.2f ms = %.1f%% of the wall time\n",
                    pass, frames, answered, ok ? "" : " (FAILED PASS)", wall * 1e3, ideal * 1e3, wire * 1e3,
                    replyDelays * 1e3, waits * 1e3, overhead, cpu * 1e3, 100.0 * cpu / wall);
    }

    // Prints the summary; the program's exit code.
    int Summary(int passes)
    {
        if (overheads_.empty()) {
            std::printf("no complete pass out of %d\n", passes);
        } else {
            std::sort(overheads_.begin(), overheads_.end());
            std::sort(cpuShares_.begin(), cpuShares_.end());
            std::printf("median of %zu complete passes: %+.1f%% over wire, reply and wait time; CPU %.1f%% of the "
                        "wall time; %d of %d passes failed\n",
                        overheads_.size(), overheads_[overheads_.size() / 2], cpuShares_[cpuShares_.size() / 2],
                        failures_, passes);
        }
        return failures_ == 0 ? 0 : 1;
    }

private:
    int failures_ = 0;
    std::vector<double> overheads_;
    std::vector<double> cpuShares_;
};
