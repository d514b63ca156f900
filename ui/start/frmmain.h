// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/picture.h"

#include <QWidget>

#include <future>
#include <memory>

namespace pairly {

class CaptionLabel;
class ControlSet;
class GameWindowLink;
class ScreenFit;
class ScreenReaderFocus;
class SurfaceWidget;
class TextPanel;

// The start window: a full-screen title picture with "Info", "Play" and
// "Quit". It stays loaded behind the game window while the game runs.
class frmmain final : public QWidget {
    Q_OBJECT
public:
    explicit frmmain(GameWindowLink& game, QWidget* parent = nullptr);
    ~frmmain() override;

    // Loads and shows the window at program start.
    void start();
    // Shows the window in front (the game window's exit control).
    void showInFront();
    // Runs the unload once; a second request while unloading is ignored.
    void unload();

    QString versionText();

    void Form_Load();
    void Form_MouseMove();
    void Form_Click();
    void Form_Unload();
    void lblplay_MouseMove();
    void lblquit_MouseMove();
    void lblInfo_MouseMove();
    void lblInfo_Click();
    void Text4_Click();
    void lblplay_Click();
    void lblquit_Click();

    ControlSet& controls() { return *controls_; }
    SurfaceWidget& surface() { return *surface_; }
    CaptionLabel* lblplay() const { return lblplay_; }
    CaptionLabel* lblquit() const { return lblquit_; }
    CaptionLabel* lblInfo() const { return lblInfo_; }
    // The version box, built once the window has been painted, or before
    // when asked for.
    TextPanel* Text4();

signals:
    // Once, when the event loop is back after the window's first paint: the
    // moment to prepare what the player may ask for next.
    void firstPainted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void placeControls();

    GameWindowLink& game_;
    ScreenFit* fit_ = nullptr;
    ScreenReaderFocus* focus_ = nullptr;
    SurfaceWidget* surface_ = nullptr;
    std::unique_ptr<ControlSet> controls_;
    CaptionLabel* lblplay_ = nullptr;
    CaptionLabel* lblquit_ = nullptr;
    CaptionLabel* lblInfo_ = nullptr;
    TextPanel* Text4_ = nullptr;
    bool loaded_ = false;
    bool unloading_ = false;
    // The title picture, decoded on another thread while the window is built.
    std::future<PictureRef> titlePicture_;
};

}  // namespace pairly
