#include "fake_table.h"

namespace pairly::testing {

FakeTable::FakeTable() : tokens_(41, 0)
{
    for (int16_t size : {20, 48, 80})
        for (int16_t c = 1; c <= size; ++c)
            backs[{size, c}] = Back{};
}

bool FakeTable::createFace(int16_t c)
{
    ++createCalls;
    return faces.try_emplace(c).second;
}

void FakeTable::setFaceFromPic(int16_t c, int16_t pic)
{
    if (auto it = faces.find(c); it != faces.end() && pic >= 1 && pic <= 40)
        it->second.picture = &tokens_[pic];
}

void FakeTable::setFaceFromFace(int16_t c, int16_t other)
{
    auto it = faces.find(c);
    auto from = faces.find(other);
    if (it != faces.end() && from != faces.end())
        it->second.picture = from->second.picture;
}

const void* FakeTable::facePicture(int16_t c) const
{
    auto it = faces.find(c);
    return it == faces.end() ? nullptr : it->second.picture;
}

void FakeTable::moveFace(int16_t c, CellRect r)
{
    if (auto it = faces.find(c); it != faces.end())
        it->second.rect = r;
}

void FakeTable::setFaceVisible(int16_t c, bool visible)
{
    if (auto it = faces.find(c); it != faces.end())
        it->second.visible = visible;
}

bool FakeTable::faceVisible(int16_t c) const
{
    auto it = faces.find(c);
    return it != faces.end() && it->second.visible;
}

void FakeTable::moveBack(int16_t size, int16_t c, CellRect r)
{
    if (auto it = backs.find({size, c}); it != backs.end())
        it->second.rect = r;
}

void FakeTable::setBackVisible(int16_t size, int16_t c, bool visible)
{
    if (auto it = backs.find({size, c}); it != backs.end())
        it->second.visible = visible;
}

bool FakeTable::backVisible(int16_t size, int16_t c) const
{
    auto it = backs.find({size, c});
    return it != backs.end() && it->second.visible;
}

int FakeTable::picIndexOf(int16_t c) const
{
    const void* p = facePicture(c);
    for (int k = 1; k <= 40; ++k)
        if (p == &tokens_[k])
            return k;
    return 0;
}

bool FakeTable::covered(int16_t size, int16_t c) const
{
    return !faceVisible(c) && backVisible(size, c);
}

bool FakeTable::uncovered(int16_t size, int16_t c) const
{
    return faceVisible(c) && !backVisible(size, c);
}

float ScriptedRandom::next()
{
    ++draws;
    if (values_.empty())
        return 0.0f;
    const auto i = static_cast<size_t>(draws - 1);
    return i < values_.size() ? values_[i] : values_.back();
}

}  // namespace pairly::testing
