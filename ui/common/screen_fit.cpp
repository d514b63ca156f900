// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_fit.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace pairly {

void fitToScreen(QWidget& window)
{
    window.winId();  // creates the native window, whose frame margins are then known
    const QScreen* screen = window.screen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QMargins frame = window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
    window.setGeometry(area.marginsRemoved(frame));
}

}  // namespace pairly
