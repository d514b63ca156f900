// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace pairly {

struct CellRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const CellRect&) const = default;
};

// What the game needs from the window that shows the cards. Card c is the face
// Img(c) stacked on back c of a back array; back arrays are named by the table
// size they serve (20 = dorso20, 48 = dorso48, 80 = Dorso80). Operations on an
// element that does not exist do nothing: the game relies on that tolerance.
class Table {
public:
    virtual ~Table() = default;

    // Creates Img(c) from Img(0), hidden. False when it exists already.
    virtual bool createFace(int16_t c) = 0;
    // Img(c) shows the very picture object of Pic(pic).
    virtual void setFaceFromPic(int16_t c, int16_t pic) = 0;
    // Img(c) shows the very picture object that Img(other) shows.
    virtual void setFaceFromFace(int16_t c, int16_t other) = 0;
    // Identity of the picture object Img(c) shows; nullptr for none.
    virtual const void* facePicture(int16_t c) const = 0;
    virtual void moveFace(int16_t c, CellRect r) = 0;
    virtual void setFaceVisible(int16_t c, bool visible) = 0;
    virtual bool faceVisible(int16_t c) const = 0;

    virtual void moveBack(int16_t size, int16_t c, CellRect r) = 0;
    virtual void setBackVisible(int16_t size, int16_t c, bool visible) = 0;
    virtual bool backVisible(int16_t size, int16_t c) const = 0;

    // Text1, Text2, Text3, in this order.
    virtual void hidePanels() = 0;
    virtual void showStartWindow() = 0;

    virtual bool rustleOn() const = 0;
    virtual void playRustle() = 0;
};

}  // namespace pairly
