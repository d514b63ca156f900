// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_panel_accessible.h"

#include "accessibility.h"
#include "text_panel.h"

#include <QAccessibleWidget>
#include <QTextCursor>

#include <algorithm>

namespace pairly {
namespace {

class TextPanelAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextPanelAccessible(TextPanel* panel) : QAccessibleWidget(panel, QAccessible::EditableText) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.focusable = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }

    using QAccessibleWidget::text;
    QString text(int startOffset, int endOffset) const override
    {
        return shown().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(shown().size()); }

    // The whole text is one line; the other boundaries are Qt's.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                         int* endOffset) const override
    {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAtOffset(offset, type, startOffset, endOffset);
        *startOffset = 0;
        *endOffset = characterCount();
        return shown();
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                             int* endOffset) const override
    {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textBeforeOffset(offset, type, startOffset, endOffset);
        *startOffset = *endOffset = -1;
        return {};
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                            int* endOffset) const override
    {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAfterOffset(offset, type, startOffset, endOffset);
        *startOffset = *endOffset = -1;
        return {};
    }

    // No caret and no selection: the panel takes no keyboard focus.
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}

    QRect characterRect(int offset) const override
    {
        QTextCursor cursor(panel()->document());
        cursor.setPosition(std::clamp(offset, 0, characterCount()));
        const QRect r = panel()->cursorRect(cursor);
        return QRect(panel()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return panel()->cursorForPosition(panel()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    TextPanel* panel() const { return static_cast<TextPanel*>(widget()); }
    QString shown() const { return panel()->toPlainText(); }
};

}  // namespace

void installTextPanelAccessibility()
{
    installAccessibleFactory<TextPanel, TextPanelAccessible>();
}

}  // namespace pairly
