// SPDX-License-Identifier: GPL-3.0-or-later
#include "probe_application.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>
#include <time.h>

namespace pairly::bench {
namespace {

long statusKiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    }
    return 0;
}

}  // namespace

int64_t monotonicMicros()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

long residentKiB()
{
    return statusKiB("VmRSS");
}

long peakResidentKiB()
{
    return statusKiB("VmHWM");
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::map<std::string, double> threadCpuSeconds()
{
    std::map<std::string, double> seconds;
    const double tick = double(sysconf(_SC_CLK_TCK));
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream commFile(task.path() / "comm");
        std::string name;
        std::getline(commFile, name);
        std::ifstream statFile(task.path() / "stat");
        std::string stat;
        std::getline(statFile, stat);
        // Fields after the parenthesised name: state is field 3, utime 14, stime 15.
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string field;
        double ticks = 0;
        for (int n = 3; n <= 15 && fields >> field; ++n) {
            if (n >= 14)
                ticks += std::stod(field);
        }
        seconds[name] += ticks / tick;
    }
    return seconds;
}

ProbeApplication::ProbeApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ProbeApplication::notify(QObject* receiver, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool handled = QApplication::notify(receiver, event);
    if (observer_)
        observer_(receiver, type);
    return handled;
}

}  // namespace pairly::bench
