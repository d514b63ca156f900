// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

namespace pairly::bench {

// Microseconds on CLOCK_MONOTONIC, the clock the bench script reads too.
int64_t monotonicMicros();
// Resident and peak resident memory of this process, KiB.
long residentKiB();
long peakResidentKiB();

// An application that tells an observer about each event once it has been
// handled: a Paint seen here has been painted, an Expose or UpdateRequest of
// a window seen here has been painted and flushed to the screen.
class ProbeApplication final : public QApplication {
public:
    using Observer = std::function<void(QObject* receiver, QEvent::Type type)>;

    ProbeApplication(int& argc, char** argv);

    void setObserver(Observer observer) { observer_ = std::move(observer); }
    bool notify(QObject* receiver, QEvent* event) override;

    // Once a widget of `window` has been painted and the window flushed to
    // the screen: prints that moment and the peak memory, then quits.
    void reportFirstPaint(const QWidget& window);

private:
    Observer observer_;
};

}  // namespace pairly::bench
