// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/probe_application.h"

#include "sound/audio_module.h"
#include "ui/program.h"
#include "ui/start/frmmain.h"

#include <QTimer>
#include <QWindow>

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
    QWidget& window = program.startWindow();
    bool painted = false;
    app.setObserver([&](QObject* receiver, QEvent::Type type) {
        if (type == QEvent::Paint && receiver->isWidgetType() && static_cast<QWidget*>(receiver)->window() == &window)
            painted = true;
        if (painted && receiver == window.windowHandle() && (type == QEvent::Expose || type == QEvent::UpdateRequest)) {
            std::printf("painted_us %lld\npeak_kib %ld\n", static_cast<long long>(monotonicMicros()), peakResidentKiB());
            std::fflush(stdout);
            app.setObserver({});
            QTimer::singleShot(0, &app, &QApplication::quit);
        }
    });
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
