// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace pairly {

class MediaDevice;

// The music device's control strip: Play, Pause and Stop acting on the device
// directly. It shows and hides with the device's Visible and never takes the
// keyboard focus, so the game's menus and cards keep it.
class MusicStrip : public QWidget {
    Q_OBJECT
public:
    explicit MusicStrip(MediaDevice& device, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

}  // namespace pairly
