// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_panel.h"

#include "text_panel_accessible.h"

#include <QMouseEvent>
#include <QTextOption>

namespace pairly {

TextPanel::TextPanel(QWidget* parent)
    : QPlainTextEdit(parent)
{
    installTextPanelAccessibility();
    setReadOnly(true);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUndoRedoEnabled(false);
    // A move over the panel is not a move over the window's background.
    setAttribute(Qt::WA_NoMousePropagation);
}

void TextPanel::setText(const QString& text)
{
    text_ = text;
    showText();
}

void TextPanel::showText()
{
    QString shown = text_;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (centred_) {
        // Texts centred by hand with spaces on both sides, like the version
        // text, overflow a box whose font has wider spaces than the one they
        // were counted for; centring the words alone shows what was meant.
        QStringList lines = shown.split(QLatin1Char('\n'));
        for (QString& line : lines)
            line = line.trimmed();
        shown = lines.join(QLatin1Char('\n'));
    }
    setPlainText(shown);
}

void TextPanel::setCentred(bool centred)
{
    centred_ = centred;
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(centred ? Qt::AlignHCenter : Qt::AlignLeft);
    document()->setDefaultTextOption(option);
    showText();
}

void TextPanel::setColours(const QColor& foreground, const QColor& background)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Text, foreground);
    colours.setColor(QPalette::Base, background);
    setPalette(colours);
}

void TextPanel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TextPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton
                       && viewport()->rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

void TextPanel::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void TextPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is one click: its second press does not count again.
    pressed_ = false;
    event->accept();
}

}  // namespace pairly
