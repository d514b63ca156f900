// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/audio_module.h"
#include "ui/program.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Pairly"));
    // Wayland compositors find the menu entry, and with it the icon, by this name.
    app.setDesktopFileName(QStringLiteral("io.github.pairlygame.pairly"));
    app.setQuitOnLastWindowClosed(false);  // the windows' unload ends the program

    pairly::Program program(&pairly::makeSoundOutput);
    program.start();
    return app.exec();
}
