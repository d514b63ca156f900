// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/probe_application.h"

#include "sound/audio_module.h"
#include "ui/program.h"
#include "ui/start/frmmain.h"

#include <cstdio>

namespace pairly::bench {
namespace {

// The program as main() builds it; "start" reports when the start window
// was first painted and ends there.
int run(ProbeApplication& app)
{
    const int64_t appReady = monotonicMicros();
    Program program(&makeSoundOutput);
    const int64_t windowBuilt = monotonicMicros();
    app.reportFirstPaint(program.startWindow());
    program.start();
    const int64_t windowLoaded = monotonicMicros();
    std::printf("app_us %lld\nbuild_ms %.1f\nload_ms %.1f\n", static_cast<long long>(appReady),
                double(windowBuilt - appReady) / 1000.0, double(windowLoaded - windowBuilt) / 1000.0);
    return app.exec();
}

}  // namespace
}  // namespace pairly::bench

// The program's start, built as main() builds it. Prints when each part of
// the start was done and when the start window was first painted, then ends.
int main(int argc, char** argv)
{
    const int64_t entered = pairly::bench::monotonicMicros();
    pairly::bench::ProbeApplication app(argc, argv);
    std::printf("main_us %lld\n", static_cast<long long>(entered));
    app.setApplicationName(QStringLiteral("Pairly"));
    app.setQuitOnLastWindowClosed(false);
    return pairly::bench::run(app);
}
