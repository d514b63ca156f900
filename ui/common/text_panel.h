// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

namespace pairly {

// A multi-line text box that lies over the window as a panel: read-only,
// never takes the keyboard focus, wraps its lines and shows a vertical
// scroll bar only when the text does not fit.
class TextPanel : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextPanel(QWidget* parent = nullptr);

    // Lines end with CR LF in the texts; text() returns what was set,
    // unchanged. Centred lines are shown without their surrounding blanks.
    void setText(const QString& text);
    QString text() const { return text_; }

    void setCentred(bool centred);
    bool centred() const { return centred_; }

    void setColours(const QColor& foreground, const QColor& background);

signals:
    // A left button pressed and released inside the text area.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showText();

    QString text_;
    bool centred_ = false;
    bool pressed_ = false;
};

}  // namespace pairly
