// SPDX-License-Identifier: GPL-3.0-or-later
#include "probe_application.h"

#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <fstream>
#include <string>

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

ProbeApplication::ProbeApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ProbeApplication::notify(QObject* receiver, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool handled = QApplication::notify(receiver, event);
    if (observer_)
        observer_(receiver, type);
    return handled;
}

void ProbeApplication::reportFirstPaint(const QWidget& window)
{
    setObserver([this, &window, painted = false](QObject* receiver, QEvent::Type type) mutable {
        if (type == QEvent::Paint && receiver->isWidgetType() && static_cast<QWidget*>(receiver)->window() == &window)
            painted = true;
        if (painted && receiver == window.windowHandle() && (type == QEvent::Expose || type == QEvent::UpdateRequest)) {
            std::printf("painted_us %lld\npeak_kib %ld\n", static_cast<long long>(monotonicMicros()), peakResidentKiB());
            std::fflush(stdout);
            QTimer::singleShot(0, this, &QApplication::quit);
            setObserver({});
        }
    });
}

}  // namespace pairly::bench
