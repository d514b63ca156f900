// SPDX-License-Identifier: GPL-3.0-or-later
#include "caption_label_accessible.h"

#include "accessibility.h"
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

}  // namespace

void installCaptionLabelAccessibility()
{
    installAccessibleFactory<CaptionLabel, CaptionLabelAccessible>();
}

}  // namespace pairly
