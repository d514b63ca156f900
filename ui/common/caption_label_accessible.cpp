// SPDX-License-Identifier: GPL-3.0-or-later
#include "caption_label_accessible.h"

#include "caption_label.h"

#include <QAccessibleWidget>

namespace pairly {
namespace {

class CaptionLabelAccessible final : public QAccessibleWidget {
public:
    explicit CaptionLabelAccessible(CaptionLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? label()->text() : QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        s.focused = label()->hasAttention();
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && label()->isVisible())
            label()->click();
    }

private:
    CaptionLabel* label() const { return static_cast<CaptionLabel*>(widget()); }
};

QAccessibleInterface* captionLabelInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("pairly::CaptionLabel") && object != nullptr && object->isWidgetType())
        return new CaptionLabelAccessible(static_cast<CaptionLabel*>(object));
    return nullptr;
}

}  // namespace

void installCaptionLabelAccessibility()
{
    QAccessible::installFactory(captionLabelInterface);
}

}  // namespace pairly
