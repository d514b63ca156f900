// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/random_source.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;

namespace pairly {

class AudioBackend;
class CaptionLabel;
class CardCursor;
class CardPlaces;
class CardRustle;
class CardTable;
class ControlSet;
class EventLoopScheduler;
class Game;
class ImageArray;
class MediaDevice;
class MenuBar;
class Music;
class MusicStrip;
class Panels;
class ScreenFit;
class ScreenReaderFocus;
class StartWindowLink;
class SurfaceWidget;
class TableAccessibility;
class TextPanel;

// The game window: the table, its menus, the panels over it, the music and
// the rustle. It holds no rule of the game: it shows what the engine asks
// for and passes the player's input on to it.
class Form1 final : public QMainWindow {
    Q_OBJECT
public:
    Form1(std::shared_ptr<AudioBackend> audio, StartWindowLink& start, QWidget* parent = nullptr);
    ~Form1() override;

    // "Play": the first time loads the window and deals the first game once
    // the window has its real size; later, deals a new game and shows it.
    void showFromStartWindow();
    // Closing the window, or the start window's unload.
    void unload();

    bool isLoaded() const { return loaded_; }

    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void Form_MouseMove();
    void lblquit_Click();
    void lblquit_MouseMove();
    void venti_Click();
    void quarantotto_Click();
    void ottanta_Click();
    void dorso20_Click(int16_t Index);
    void dorso48_Click(int16_t Index);
    void dorso80_Click(int16_t Index);

    // For tests and soak checks: what a player can see and reach.
    Game& game() { return *game_; }
    const ControlSet& controls() const { return *controls_; }
    const MenuBar& menu() const { return *menu_; }
    Panels& panels() { return *panels_; }
    Music& music() { return *music_; }
    MediaDevice& MMC1() { return *MMC1_; }
    MediaDevice& MMCw() { return *MMCw_; }
    SurfaceWidget& surface() { return *surface_; }
    ImageArray* backs(int16_t size) const;
    ImageArray* Img() const { return Img_; }
    CaptionLabel* lblquit() const { return lblquit_; }
    TextPanel* Text(int n) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct SizeRow {
        int16_t ncarte;
        int16_t righe;
        std::array<int16_t, 2> away;  // back arrays moved out of sight, in order
        std::array<QAction*, 3> marks;  // set, then cleared, in order
    };

    void connectHandlers();
    // The inner size the layout uses, as the window has it.
    void recordInnerSize();
    void sizeCommand(const SizeRow& row);

    std::shared_ptr<AudioBackend> audio_;
    StartWindowLink& start_;

    SurfaceWidget* surface_ = nullptr;
    std::unique_ptr<ControlSet> controls_;
    std::unique_ptr<MenuBar> menu_;
    ImageArray* Img_ = nullptr;
    ImageArray* Pic_ = nullptr;
    ImageArray* dorso20_ = nullptr;
    ImageArray* dorso48_ = nullptr;
    ImageArray* Dorso80_ = nullptr;
    TextPanel* Text1_ = nullptr;
    TextPanel* Text2_ = nullptr;
    TextPanel* Text3_ = nullptr;
    CaptionLabel* lblquit_ = nullptr;
    MediaDevice* MMC1_ = nullptr;
    MediaDevice* MMCw_ = nullptr;
    MusicStrip* strip_ = nullptr;
    EventLoopScheduler* scheduler_ = nullptr;
    ScreenFit* fit_ = nullptr;

    std::unique_ptr<Panels> panels_;
    std::unique_ptr<Music> music_;
    std::unique_ptr<CardRustle> rustle_;
    ClockSeededRandom random_;
    std::unique_ptr<CardTable> table_;
    std::unique_ptr<Game> game_;
    // Qt children, but they read the game and the table, so they go first.
    std::unique_ptr<CardPlaces> places_;
    std::unique_ptr<CardCursor> cursor_;
    std::unique_ptr<ScreenReaderFocus> focus_;
    std::unique_ptr<TableAccessibility> access_;

    bool loaded_ = false;
    bool unloading_ = false;
};

}  // namespace pairly
