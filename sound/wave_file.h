// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace pairly {

// A wave file's sound as the output plays it: 44.1 kHz, 16-bit stereo frames,
// interleaved. Empty when the file is not a wave file SDL can read.
std::optional<std::vector<int16_t>> loadWave(const QString& path);

}  // namespace pairly
