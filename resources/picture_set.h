// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <mutex>

namespace pairly {

// The pictures the program carries inside itself: the 40 faces Pic(1..40),
// the card back of each table size and the window icon. Each picture is
// decoded on first use and then shared: every call for the same picture
// returns the same object, which is what makes two cards a pair. Safe to use
// from more than one thread.
class PictureSet {
public:
    static constexpr int kFaces = 40;

    // The set embedded in the program.
    static const PictureSet& embedded();

    // Pic(k), k = 1..40; nullptr outside that range or if it cannot be decoded.
    PictureRef face(int k) const;
    // dorso20(0), dorso48(0), Dorso80(0) for size 20, 48, 80; nullptr otherwise.
    PictureRef back(int size) const;
    PictureRef icon() const;
    // The short name of what face k shows ("sunflower", "cat"), as the
    // artwork generator wrote it beside the pictures; empty if unknown.
    QString faceName(int k) const;
    // The name of the face that this picture object is, if it is one of the
    // 40 faces; empty otherwise.
    QString faceName(const Picture* picture) const;
    // Decodes every picture now, so later calls only hand them out; meant for
    // a background thread while the program waits for the player.
    void decodeAll() const;

    // The stored picture values themselves; empty for an unknown picture.
    QByteArray storedFace(int k) const;
    QByteArray storedBack(int size) const;
    QByteArray storedIcon() const;

    PictureSet(const PictureSet&) = delete;
    PictureSet& operator=(const PictureSet&) = delete;

private:
    PictureSet();

    struct Slot {
        QString resource;
        mutable PictureRef picture;
        mutable bool tried = false;
    };

    static constexpr int kBacks = 3;
    static int backSlot(int size);
    PictureRef picture(const Slot& slot) const;

    mutable std::mutex mutex_;
    mutable QStringList faceNames_;
    std::array<Slot, kFaces> faces_;
    std::array<Slot, kBacks> backs_;
    Slot icon_;
};

}  // namespace pairly
