// SPDX-License-Identifier: GPL-3.0-or-later
#include "music.h"

#include "media_device.h"
#include "resources/program_folder.h"

#include <QAction>

namespace pairly {
namespace {

// A menu caption without its access-key markers: "&Scopa" is "Scopa", "&&" a
// literal "&".
QString plainCaption(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        else if (text[i] == QLatin1Char('&'))
            continue;
        plain += text[i];
    }
    return plain;
}

}  // namespace

Music::Music(MediaDevice& MMC1, const MusicMenu& menu, QObject* parent)
    : QObject(parent), MMC1_(MMC1), menu_(menu)
{
    menu_.nomusic->setCheckable(true);
    menu_.all->setCheckable(true);
    for (QAction* item : menu_.canzoni)
        item->setCheckable(true);
    connect(&MMC1_, &MediaDevice::Done, this, [this](int code) { MMC1_Done(int16_t(code)); });
}

QAction* Music::canzoni(int16_t Index) const
{
    return menu_.canzoni[size_t(Index - 1)];
}

QString Music::songPath(int16_t Index, const QString& extension) const
{
    return besideProgram(QStringLiteral("\\music\\") + plainCaption(canzoni(Index)->text()) + extension);
}

void Music::clearSongChecks()
{
    for (int16_t song = 1; song <= kSongCount; ++song)
        canzoni(song)->setChecked(false);
}

void Music::startUp()
{
    clearSongChecks();
    menu_.nomusic->setChecked(false);
    menu_.all->setChecked(true);
    brano_ = kSongCount;
    MMC1_Done(MediaDevice::Successful);
}

void Music::canzoni_Click(int16_t Index)
{
    clearSongChecks();
    canzoni(Index)->setChecked(true);
    menu_.nomusic->setChecked(false);
    menu_.all->setChecked(false);
    brano_ = 0;
    MMC1_.setCommand(QStringLiteral("close"));
    MMC1_.setFileName(songPath(Index, QStringLiteral(".MID")));
    MMC1_.setCommand(QStringLiteral("open"));
    MMC1_.setWait(false);
    MMC1_.setCommand(QStringLiteral("play"));
}

void Music::all_Click()
{
    MMC1_.setVisible(true);
    clearSongChecks();
    menu_.nomusic->setChecked(false);
    menu_.all->setChecked(true);
    MMC1_Done(MediaDevice::Successful);
}

void Music::nomusic_Click()
{
    clearSongChecks();
    menu_.nomusic->setChecked(true);
    menu_.all->setChecked(false);
    brano_ = 0;
    MMC1_.setCommand(QStringLiteral("close"));
    MMC1_.setVisible(false);
}

void Music::MMC1_Done(int16_t NotifyCode)
{
    if (NotifyCode != MediaDevice::Successful)
        return;
    if (menu_.all->isChecked()) {
        if (brano_ == kSongCount)
            brano_ = 0;
        ++brano_;
        if (brano_ == 1)
            canzoni(kSongCount)->setChecked(false);
        else
            canzoni(int16_t(brano_ - 1))->setChecked(false);
        canzoni(brano_)->setChecked(true);
        MMC1_.setCommand(QStringLiteral("close"));
        MMC1_.setFileName(songPath(brano_, QStringLiteral(".mid")));
        MMC1_.setCommand(QStringLiteral("Open"));
        MMC1_.setCommand(QStringLiteral("play"));
    }
    if (!menu_.all->isChecked()) {
        MMC1_.setFrom(0);
        MMC1_.setCommand(QStringLiteral("Play"));
    }
}

}  // namespace pairly
