// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/probe_application.h"

#include <QScreen>
#include <QWidget>

#include <cstdio>

// The yardstick: an empty full-screen Qt Widgets window. Prints when it was
// first painted and its peak memory, then ends.
int main(int argc, char** argv)
{
    const int64_t entered = pairly::bench::monotonicMicros();
    pairly::bench::ProbeApplication app(argc, argv);
    std::printf("main_us %lld\napp_us %lld\n", static_cast<long long>(entered),
                static_cast<long long>(pairly::bench::monotonicMicros()));
    QWidget window;
    window.setWindowTitle(QStringLiteral("empty"));
    window.setGeometry(window.screen()->geometry());
    app.reportFirstPaint(window);
    window.show();
    return app.exec();
}
