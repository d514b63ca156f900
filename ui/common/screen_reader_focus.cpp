// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_reader_focus.h"

#include "accessibility.h"
#include "surface_item_accessible.h"

#include <QApplication>
#include <QEvent>

#include <algorithm>

namespace pairly {
namespace {

// The notifications: Orca reads a notification as soon as it shows, whatever
// has the focus. It shows only for that moment, so that a review of the
// screen never meets it; it has no place of its own.
class Announcement final : public SurfaceItemAccessible {
public:
    using SurfaceItemAccessible::SurfaceItemAccessible;

    void say(const QString& text) { text_ = text; }

    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? text_ : QString(); }
    QRect rect() const override { return QRect(surface().mapToGlobal(QPoint()), QSize(0, 0)); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = true;
        return s;
    }

private:
    QString text_;
};

}  // namespace

ScreenReaderFocus::ScreenReaderFocus(QWidget& surface) : QObject(&surface), surface_(surface)
{
    // Window activations and closing menus are watched where they pass.
    qApp->installEventFilter(this);
}

ScreenReaderFocus::~ScreenReaderFocus()
{
    if (announcer_ != 0)
        QAccessible::deleteAccessibleInterface(announcer_);
}

void ScreenReaderFocus::setTarget(QAccessibleInterface* target, bool renew)
{
    const QAccessible::Id id = target ? QAccessible::uniqueId(target) : 0;
    if (id == target_ && !renew)
        return;
    target_ = id;
    // The game moved the attention: a panel shown before no longer has it.
    panel_ = nullptr;
    renew_ = renew_ || renew;
    refresh();
}

void ScreenReaderFocus::addPanel(QWidget* panel)
{
    panels_.emplace_back(panel);
}

void ScreenReaderFocus::announce(const QString& text)
{
    announcement_ = text;
    refresh();
}

void ScreenReaderFocus::changed(QAccessibleInterface* object, QAccessible::Event type)
{
    if (object == nullptr || !QAccessible::isActive())
        return;
    const std::pair change{QAccessible::uniqueId(object), type};
    if (std::find(changes_.begin(), changes_.end(), change) == changes_.end())
        changes_.push_back(change);
    refresh();
}

void ScreenReaderFocus::refresh()
{
    if (scheduled_ || !QAccessible::isActive())
        return;
    scheduled_ = true;
    // Queued behind the events already posted, such as the game's next pass.
    QMetaObject::invokeMethod(this, &ScreenReaderFocus::tell, Qt::QueuedConnection);
}

bool ScreenReaderFocus::hasFocus(const QAccessibleInterface* object) const
{
    return told_ != 0 && QAccessible::accessibleInterface(told_) == object;
}

QAccessibleInterface* ScreenReaderFocus::announcer() const
{
    return announcer_ != 0 ? QAccessible::accessibleInterface(announcer_) : nullptr;
}

QAccessibleInterface* ScreenReaderFocus::current() const
{
    if (panel_ && panel_->isVisible())
        return QAccessible::queryAccessibleInterface(panel_);
    return target_ != 0 ? QAccessible::accessibleInterface(target_) : nullptr;
}

bool ScreenReaderFocus::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        if (watched == surface_.window()) {
            again_ = true;
            refresh();
        }
        break;
    case QEvent::Hide:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->windowType() == Qt::Popup) {
            again_ = true;
            refresh();
        }
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent: {
        const auto panel = std::find(panels_.begin(), panels_.end(), watched);
        if (panel == panels_.end())
            break;
        // Only a panel the player opened takes the focus; one hidden gives it back.
        if (event->type() == QEvent::ShowToParent)
            panel_ = *panel;
        else if (panel_ == watched)
            panel_ = nullptr;
        refresh();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ScreenReaderFocus::tell()
{
    scheduled_ = false;
    if (!QAccessible::isActive())
        return;
    const QWidget* window = surface_.window();
    // Told again when the window comes to the front or the menu closes.
    if (!window->isActiveWindow() || QApplication::activePopupWidget() != nullptr)
        return;
    if (settling_ && settling_()) {
        refresh();
        return;
    }
    if (prepare_)
        prepare_();

    QAccessibleInterface* now = current();
    const QAccessible::Id was = told_;
    const QAccessible::Id to = now ? QAccessible::uniqueId(now) : 0;
    // Told again after the window or a menu had the focus: the screen reader
    // holds none of the game's objects.
    const bool fresh = again_;
    const bool renew = fresh || renew_;
    again_ = false;
    renew_ = false;
    std::vector<std::pair<QAccessible::Id, QAccessible::Event>> changes;
    changes.swap(changes_);
    // The new focus is read with its new texts; the object the screen reader
    // holds hears of its changes once it has lost the focus, or not at all.
    const auto held = [&](QAccessible::Id id) { return id == was && !fresh; };
    for (const auto& [id, type] : changes) {
        if (!held(id))
            sendAccessibleEvent(QAccessible::accessibleInterface(id), type);
    }
    if (now != nullptr && (renew || to != was)) {
        told_ = to;
        sendAccessibleEvent(now, QAccessible::Focus);
        for (const auto& [id, type] : changes) {
            if (held(id) && to != was)
                sendAccessibleEvent(QAccessible::accessibleInterface(id), type);
        }
    }
    if (!announcement_.isEmpty()) {
        if (announcer_ == 0)
            announcer_ = QAccessible::registerAccessibleInterface(new Announcement(surface_));
        QAccessibleInterface* announcer = QAccessible::accessibleInterface(announcer_);
        static_cast<Announcement*>(announcer)->say(announcement_);
        announcement_.clear();
        sendAccessibleEvent(announcer, QAccessible::NameChanged);
        sendAccessibleEvent(announcer, QAccessible::ObjectShow);
        sendAccessibleEvent(announcer, QAccessible::ObjectHide);
    }
}

}  // namespace pairly
