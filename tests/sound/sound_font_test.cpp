// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound_font.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace pairly {
namespace {

struct FontCase {
    const char* name;
    QString environment;
    QStringList installed;
    QString found;
};

void PrintTo(const FontCase& c, std::ostream* os) { *os << c.name; }

class SoundFontTest : public ::testing::TestWithParam<FontCase> {};

const QString kDefault = "/usr/share/sounds/sf2/default-GM.sf2";
const QString kTim = "/usr/share/sounds/sf2/TimGM6mb.sf2";
const QString kFluid = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

// SDL_SOUNDFONTS wins, as it stands; otherwise Debian's chosen default, then
// whichever General-MIDI SoundFont package is installed; none: no SoundFont.
TEST_P(SoundFontTest, FindsTheInstalledGeneralMidiSoundFont)
{
    const FontCase& c = GetParam();
    EXPECT_EQ(findSoundFont(c.environment, [&](const QString& path) { return c.installed.contains(path); }), c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Installs, SoundFontTest,
    ::testing::Values(FontCase{"EnvironmentFirst", "/home/me/big.sf2", {kDefault, kTim}, "/home/me/big.sf2"},
                      FontCase{"EnvironmentEvenIfMissing", "/nonexistent/none.sf2", {kTim}, "/nonexistent/none.sf2"},
                      FontCase{"EnvironmentListFirstEntry", "/a/one.sf2:/b/two.sf2", {}, "/a/one.sf2"},
                      FontCase{"AlternativesLink", "", {kFluid, kDefault, kTim}, kDefault},
                      FontCase{"TimGM6mbOnly", "", {kTim}, kTim},
                      FontCase{"TimGM6mbBeforeFluidR3", "", {kFluid, kTim}, kTim},
                      FontCase{"FluidR3Only", "", {kFluid}, kFluid},
                      FontCase{"NoneInstalled", "", {}, QString()}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pairly
