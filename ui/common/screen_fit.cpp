// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_fit.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace pairly {
namespace {

// Wayland clients neither place their windows nor learn where they are.
bool placesItsWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QRect screenArea(const QWidget& window)
{
    const QScreen* screen = window.screen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

ScreenFit::ScreenFit(QWidget& window) : QObject(&window), window_(window)
{
    refitAnswer_.setSingleShot(true);
    refitAnswer_.setInterval(300);
    connect(&refitAnswer_, &QTimer::timeout, this, &ScreenFit::settle);
    window_.installEventFilter(this);
}

void ScreenFit::fit()
{
    window_.winId();  // the native window, with whatever frame margins are known before mapping
    const QMargins frame = window_.windowHandle()->frameMargins();
    window_.setGeometry(screenArea(window_).marginsRemoved(frame));
    asked_ = window_.size();
    // Where the compositor places windows, a maximized one is the one that
    // covers the screen, between its panels.
    if (!placesItsWindows())
        window_.setWindowState(Qt::WindowMaximized);
    window_.windowHandle()->installEventFilter(this);
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    if (stage_ == Stage::Unshown && event->type() == QEvent::Expose && watched == window_.windowHandle()
        && window_.windowHandle()->isExposed()) {
        // After the event has reached the window, so that its size is current.
        QMetaObject::invokeMethod(this, &ScreenFit::exposed, Qt::QueuedConnection);
    } else if (stage_ == Stage::Refitting && watched == &window_
               && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        QMetaObject::invokeMethod(this, &ScreenFit::settle, Qt::QueuedConnection);
    }
    return false;
}

void ScreenFit::exposed()
{
    if (stage_ != Stage::Unshown)
        return;
    // A compositor may show the window at the size it asked for and maximize
    // it a moment later: until the size is its own, the maximized one may
    // still be on its way.
    if (!placesItsWindows()) {
        if (window_.size() != asked_) {
            settle();
        } else {
            stage_ = Stage::Refitting;
            refitAnswer_.start();
        }
        return;
    }
    // What the window manager decided stands: a maximized window, or one it
    // gave another size than the one asked for (a tiling window manager, one
    // that keeps windows within its work area), keeps the place it was given.
    // A refit would be refused, and Qt keeps the refused size for the widget:
    // the window manager answers with the size the window already has, which
    // Qt takes for no change.
    const QRect target = screenArea(window_).marginsRemoved(window_.windowHandle()->frameMargins());
    if (window_.geometry() == target || window_.size() != asked_
        || (window_.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        settle();
        return;
    }
    // The frame, known now, reaches past the screen: fit again with it.
    stage_ = Stage::Refitting;
    refitAnswer_.start();
    window_.setGeometry(target);
}

void ScreenFit::settle()
{
    if (stage_ == Stage::Settled)
        return;
    refitAnswer_.stop();
    stage_ = Stage::Settled;
    if (QLayout* layout = window_.layout())
        layout->activate();
    emit settled();
}

void showInFront(QWidget& window)
{
    window.show();
    window.raise();
    if (placesItsWindows())
        window.activateWindow();
}

void handOver(QWidget& from, QWidget& to)
{
    if (from.isActiveWindow())
        QApplication::setActiveWindow(&to);
    from.hide();
}

}  // namespace pairly
