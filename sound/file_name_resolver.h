// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace pairly {

// The file a name given with any letter case stands for: the exact path when
// it exists, otherwise, component by component from the first missing one, an
// entry of the same folder whose name differs only in letter case. Returns
// the path unchanged when nothing matches.
QString resolveFileName(const QString& path);

}  // namespace pairly
