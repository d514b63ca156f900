// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLabel>

namespace pairly {

// A clickable caption on a transparent background, centred across its box,
// whose text colour changes under the pointer. Takes no keyboard focus.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    explicit CaptionLabel(const QString& caption = QString(), QWidget* parent = nullptr);

    void setForeground(const QColor& colour);
    QColor foreground() const { return foreground_; }

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
};

}  // namespace pairly
