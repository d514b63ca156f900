// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_set.h"

#include "stored_picture.h"

#include <QFile>

// The resource data sits in this static library; naming its initializer
// keeps the linker from dropping it.
static void registerPictureResources()
{
    Q_INIT_RESOURCE(pictures);
}

namespace pairly {
namespace {

QByteArray readResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcPictures) << "stored picture missing:" << path;
        return {};
    }
    return file.readAll();
}

}  // namespace

const PictureSet& PictureSet::embedded()
{
    static const PictureSet set;
    return set;
}

PictureSet::PictureSet()
{
    registerPictureResources();
    for (int k = 1; k <= kFaces; ++k)
        faces_[k - 1].resource = QStringLiteral(":/pictures/face%1.bin").arg(k, 2, 10, QLatin1Char('0'));
    backs_[0].resource = QStringLiteral(":/pictures/dorso20.bin");
    backs_[1].resource = QStringLiteral(":/pictures/dorso48.bin");
    backs_[2].resource = QStringLiteral(":/pictures/dorso80.bin");
    icon_.resource = QStringLiteral(":/pictures/icon.bin");
}

int PictureSet::backSlot(int size)
{
    switch (size) {
    case 20: return 0;
    case 48: return 1;
    case 80: return 2;
    default: return -1;
    }
}

PictureRef PictureSet::picture(const Slot& slot) const
{
    std::lock_guard lock(mutex_);
    if (!slot.tried) {
        slot.tried = true;
        slot.picture = decodeStoredPicture(readResource(slot.resource));
    }
    return slot.picture;
}

PictureRef PictureSet::face(int k) const
{
    return k >= 1 && k <= kFaces ? picture(faces_[k - 1]) : nullptr;
}

PictureRef PictureSet::back(int size) const
{
    const int slot = backSlot(size);
    return slot >= 0 ? picture(backs_[slot]) : nullptr;
}

PictureRef PictureSet::icon() const
{
    return picture(icon_);
}

QString PictureSet::faceName(int k) const
{
    std::lock_guard lock(mutex_);
    if (faceNames_.isEmpty())
        faceNames_ = QString::fromUtf8(readResource(QStringLiteral(":/pictures/face_names.txt"))).split(u'\n');
    return k >= 1 && k <= kFaces && k <= faceNames_.size() ? faceNames_[k - 1] : QString();
}

QString PictureSet::faceName(const Picture* picture) const
{
    int k = 0;
    {
        // Only a decoded face can be the object asked about: none is decoded here.
        std::lock_guard lock(mutex_);
        for (int i = 0; picture != nullptr && i < kFaces && k == 0; ++i)
            k = faces_[i].picture.get() == picture ? i + 1 : 0;
    }
    return faceName(k);
}

void PictureSet::decodeAll() const
{
    for (const Slot& slot : faces_)
        picture(slot);
    for (const Slot& slot : backs_)
        picture(slot);
    picture(icon_);
}

QByteArray PictureSet::storedFace(int k) const
{
    return k >= 1 && k <= kFaces ? readResource(faces_[k - 1].resource) : QByteArray();
}

QByteArray PictureSet::storedBack(int size) const
{
    const int slot = backSlot(size);
    return slot >= 0 ? readResource(backs_[slot].resource) : QByteArray();
}

QByteArray PictureSet::storedIcon() const
{
    return readResource(icon_.resource);
}

}  // namespace pairly
