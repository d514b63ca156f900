// SPDX-License-Identifier: GPL-3.0-or-later
#include "music_strip.h"

#include "media_device.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace pairly {
namespace {

// The strip's design place is 960 x 264 twips, 64 x 18 pixels.
constexpr QSize kDesignSize(64, 18);

QToolButton* makeButton(QWidget* strip, QStyle::StandardPixmap icon, const QString& name)
{
    auto* button = new QToolButton(strip);
    button->setIcon(strip->style()->standardIcon(icon));
    button->setIconSize(QSize(12, 12));
    button->setToolTip(name);
    // "Play" alone is the start window's button too.
    button->setAccessibleName(name + QStringLiteral(" music"));
    button->setObjectName(name.toLower());
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button->setMinimumSize(1, 1);
    return button;
}

}  // namespace

MusicStrip::MusicStrip(MediaDevice& device, QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const struct {
        QStyle::StandardPixmap icon;
        const char* name;
        const char* command;
    } buttons[] = {
        {QStyle::SP_MediaPlay, "Play", "play"},
        {QStyle::SP_MediaPause, "Pause", "pause"},
        {QStyle::SP_MediaStop, "Stop", "stop"},
    };
    for (const auto& spec : buttons) {
        QToolButton* button = makeButton(this, spec.icon, QString::fromLatin1(spec.name));
        const QString command = QString::fromLatin1(spec.command);
        connect(button, &QToolButton::clicked, &device, [&device, command] { device.setCommand(command); });
        layout->addWidget(button);
    }
    connect(&device, &MediaDevice::visibleChanged, this, &QWidget::setVisible);
    setVisible(device.isVisible());
}

QSize MusicStrip::sizeHint() const
{
    return kDesignSize;
}

QSize MusicStrip::minimumSizeHint() const
{
    return QSize(24, 8);
}

}  // namespace pairly
