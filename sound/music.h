// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

class QAction;

namespace pairly {

class MediaDevice;

// The "&Music" menu's items; their check marks are the music mode.
struct MusicMenu {
    QAction* nomusic = nullptr;
    QAction* all = nullptr;
    // canzoni(1) .. canzoni(10); each caption is the base of its song's file.
    std::array<QAction*, 10> canzoni{};
};

// Background music on the music device MMC1: a chosen song, all songs in
// sequence, or none. Connects MMC1's Done to MMC1_Done itself; the window
// connects the menu items' triggered signals to the click handlers.
class Music : public QObject {
    Q_OBJECT
public:
    static constexpr int16_t kSongCount = 10;

    Music(MediaDevice& MMC1, const MusicMenu& menu, QObject* parent = nullptr);

    // The window's load: sequential mode, song 1 playing, strip left hidden.
    void startUp();

    void canzoni_Click(int16_t Index);
    void all_Click();
    void nomusic_Click();
    void MMC1_Done(int16_t NotifyCode);

    // The song at which sequential play stands, 1..10; 0: starts at song 1.
    int16_t brano() const { return brano_; }

    // The song file of item Index: the program's folder, "\music\", the
    // item's caption and the extension (".MID" when chosen, ".mid" in turn).
    QString songPath(int16_t Index, const QString& extension) const;

private:
    QAction* canzoni(int16_t Index) const;
    void clearSongChecks();

    MediaDevice& MMC1_;
    MusicMenu menu_;
    int16_t brano_ = 0;
};

}  // namespace pairly
