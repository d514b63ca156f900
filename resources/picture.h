// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <memory>

namespace pairly {

// A decoded picture. Pictures are shared by reference: every control that
// shows one holds the same object, and two cards match when they hold the
// same object.
struct Picture {
    QImage image;
};

using PictureRef = std::shared_ptr<const Picture>;

}  // namespace pairly
