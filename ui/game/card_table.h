// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/table.h"

#include <QString>

#include <functional>

namespace pairly {

class ImageArray;

// The engine's table drawn with the game window's image arrays: the faces
// Img, the picture store Pic and the three back arrays. Missing elements are
// passed over, as the game expects.
class CardTable final : public Table {
public:
    struct Arrays {
        ImageArray* Img = nullptr;
        ImageArray* Pic = nullptr;
        ImageArray* dorso20 = nullptr;
        ImageArray* dorso48 = nullptr;
        ImageArray* Dorso80 = nullptr;
    };
    struct Window {
        std::function<void()> hidePanels;
        std::function<void()> showStartWindow;
        std::function<bool()> rustleOn;
        std::function<void()> playRustle;
        // A face or a back was shown or hidden.
        std::function<void()> cardsChanged;
    };

    CardTable(Arrays arrays, Window window);

    // The back array serving a table size; nullptr for any other size.
    ImageArray* backs(int16_t size) const;

    // The name of the face Img(c) shows; empty when it shows none of the set.
    QString faceName(int16_t c) const;

    bool createFace(int16_t c) override;
    void setFaceFromPic(int16_t c, int16_t pic) override;
    void setFaceFromFace(int16_t c, int16_t other) override;
    const void* facePicture(int16_t c) const override;
    void moveFace(int16_t c, CellRect r) override;
    void setFaceVisible(int16_t c, bool visible) override;
    bool faceVisible(int16_t c) const override;
    void moveBack(int16_t size, int16_t c, CellRect r) override;
    void setBackVisible(int16_t size, int16_t c, bool visible) override;
    bool backVisible(int16_t size, int16_t c) const override;
    void hidePanels() override { window_.hidePanels(); }
    void showStartWindow() override { window_.showStartWindow(); }
    bool rustleOn() const override { return window_.rustleOn(); }
    void playRustle() override { window_.playRustle(); }

private:
    void changed();

    Arrays a_;
    Window window_;
};

}  // namespace pairly
