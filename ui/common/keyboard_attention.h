// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QObject>

#include <vector>

class QKeyEvent;

namespace pairly {

class CaptionLabel;

// The keys the game's keyboard attention answers to.
enum class AttentionKey { None, Left, Right, Up, Down, Next, Previous, Press };

// Arrows, Tab and Shift+Tab, Enter and Space; None for any other key or for
// a key held with Ctrl, Alt or Meta (the menus' access keys).
AttentionKey attentionKey(const QKeyEvent& event);

// The keyboard's attention among a row of caption labels: the game's own,
// not Qt's focus, and nothing shows until a key is used. The first arrow or
// Tab gives it to the `first` label; Left and Right move it along the row
// and stop at its ends, Tab and Shift+Tab go round it. The label with the
// attention shows the highlight colour as it does under the pointer, the
// others their normal colour; Enter or Space clicks it.
class KeyboardAttention final : public QObject {
    Q_OBJECT
public:
    KeyboardAttention(QWidget& window, std::vector<CaptionLabel*> row, int first, QColor normal,
                      QColor highlight);

    // The label with the attention; nullptr when none has it.
    CaptionLabel* current() const;
    // The pointer is back: the attention goes, and the colours are left to
    // the pointer's own rule.
    void clear();

signals:
    // A key gave the attention to `label`.
    void attentionGiven(CaptionLabel* label);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPressed(AttentionKey key);
    void give(int i);

    std::vector<CaptionLabel*> row_;
    int first_;
    int current_ = -1;
    QColor normal_;
    QColor highlight_;
};

}  // namespace pairly
