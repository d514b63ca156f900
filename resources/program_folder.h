// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace pairly {

// The folder that holds the running program, symlinks resolved. Taken afresh
// on each call, as the files beside the program are.
QString programFolder();

// programFolder() followed by a name written with backslash separators, such
// as "\\music\\Chill1.mid"; the separators become the platform's.
QString besideProgram(const QString& backslashedName);

}  // namespace pairly
