// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSize>
#include <QTimer>

class QWidget;

namespace pairly {

// Fits a top-level window to its screen, frame included, and tells when the
// window has the inner size it keeps. A window manager frames a window only
// once it is mapped (and may maximize or tile it then), and a Wayland
// compositor decides the size itself; until the window has been shown the
// inner size is only a guess.
class ScreenFit final : public QObject {
    Q_OBJECT
public:
    explicit ScreenFit(QWidget& window);

    // Gives the window an outer frame equal to its screen's geometry, as far
    // as the frame is already known.
    void fit();
    bool isSettled() const { return stage_ == Stage::Settled; }

signals:
    // Once, after the first showing: the window is mapped and framed, its
    // frame within the screen where the platform lets a window place itself.
    void settled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Stage { Unshown, Refitting, Settled };

    void exposed();
    void settle();

    QWidget& window_;
    QSize asked_;
    Stage stage_ = Stage::Unshown;
    // A window manager that keeps its own idea of the size answers a refit
    // with nothing at all, and a compositor that gives the size asked for
    // sends no second one.
    QTimer refitAnswer_;
};

// Shows a window in front. Raising and activating are only requests, which
// Wayland compositors refuse; the flow never depends on them.
void showInFront(QWidget& window);

// Hides `from` for `to`, about to be shown in its place. `to` is made the
// active window first, as when the focus moves from one window to another,
// so that assistive technologies hear `to` activated before `from`
// deactivated: an active window hidden leaves a moment without one, in which
// Orca 43 may take the next window for its own without reading its title.
void handOver(QWidget& from, QWidget& to);

}  // namespace pairly
