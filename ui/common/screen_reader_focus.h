// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace pairly {

// What a screen reader says about one window, told the way Orca 43 speaks
// it. Qt tells of focus changes only between widgets that take the keyboard
// focus, and none of the game's controls do: the keyboard's attention is the
// game's own. So the window tells it here. The object the attention is on
// (a label, a card, a panel just shown) goes out as a focus change, which
// Orca answers by reading the object's name, role and description; what the
// player must hear besides goes out as a notification.
//
// Qt 6.4's bridge sends the object instead of the new text with a name or
// description change, and Orca fails on such an event for the object it
// reads as the focus; a bridge that sends the text would have Orca say it a
// second time. So a change of what the player hears always comes as a move
// of the focus to another object, and the change events of the object Orca
// holds as the focus are sent only once the focus has left it.
//
// Like Qt's own focus, all of it waits while the window is not active, a
// menu is open, or the game has a step still to run, and the focus is told
// again when the window comes back to the front or a menu closes. Nothing
// is sent while no assistive technology listens.
class ScreenReaderFocus final : public QObject {
    Q_OBJECT
public:
    // A child of `surface`, the window's inner area.
    explicit ScreenReaderFocus(QWidget& surface);
    ~ScreenReaderFocus() override;

    // The object the keyboard's attention is on; nullptr for none. `renew`
    // tells it again even when it is the same object, as a new deal is.
    void setTarget(QAccessibleInterface* target, bool renew = false);
    // A panel that has the focus while it is shown over the window.
    void addPanel(QWidget* panel);
    // Says `text` once, beside the focus.
    void announce(const QString& text);
    // A name or description change of `object`, sent when it is safe.
    void changed(QAccessibleInterface* object, QAccessible::Event type);
    // Runs before each telling, to bring the target up to date.
    void setPrepare(std::function<void()> prepare) { prepare_ = std::move(prepare); }
    // While it returns true, nothing is told: a step that changes the window
    // is still to run.
    void setSettling(std::function<bool()> settling) { settling_ = std::move(settling); }
    // Tells what changed, once the event loop is back.
    void refresh();

    // Whether `object` is what the screen reader has been told has the focus.
    bool hasFocus(const QAccessibleInterface* object) const;
    // The object that says the notifications; nullptr before the first.
    QAccessibleInterface* announcer() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tell();
    QAccessibleInterface* current() const;

    QWidget& surface_;
    QAccessible::Id target_ = 0;
    QPointer<QWidget> panel_;
    std::vector<QPointer<QWidget>> panels_;
    QAccessible::Id told_ = 0;
    QAccessible::Id announcer_ = 0;
    QString announcement_;
    std::vector<std::pair<QAccessible::Id, QAccessible::Event>> changes_;
    std::function<void()> prepare_;
    std::function<bool()> settling_;
    bool scheduled_ = false;
    bool again_ = false;  // the window or a menu had the focus meanwhile
    bool renew_ = false;
};

}  // namespace pairly
