// Timing helpers shared by the benchmarks.
#pragma once

#include <chrono>
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
