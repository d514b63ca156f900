// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/resource.h>

namespace pairly::bench {

// CPU seconds and context switches (each one a wake-up of some thread) of the
// whole process, its ended threads included.
struct ProcessUsage {
    double cpu = 0;
    long switches = 0;

    static ProcessUsage now()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto seconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
        return {seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_nvcsw + usage.ru_nivcsw};
    }
};

}  // namespace pairly::bench
