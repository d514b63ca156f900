// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLabel>

namespace pairly {

// A clickable caption on a transparent background, centred across its box,
// whose text colour changes under the pointer. Takes no keyboard focus;
// assistive technologies see it as a button named by its caption.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    explicit CaptionLabel(const QString& caption = QString(), QWidget* parent = nullptr);

    void setForeground(const QColor& colour);
    QColor foreground() const { return foreground_; }

    // A press from the keyboard or an assistive technology: the same signal
    // as a click of the mouse.
    void click() { emit clicked(); }
    // Whether the game's own keyboard attention (not Qt's focus) is on the
    // label; assistive technologies see it as the focus.
    void setAttention(bool on) { attention_ = on; }
    bool hasAttention() const { return attention_; }

signals:
    // A left button pressed and released inside the visible label.
    void clicked();
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QColor foreground_;
    bool pressed_ = false;
    bool attention_ = false;
};

}  // namespace pairly
