// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

namespace pairly {

// The texts of the windows' design in their stored form: Windows-1252, one
// byte per character, every line ended by CR LF.
QByteArrayView italianRulesText();
QByteArrayView englishRulesText();
// Shown by the start window's version box and the game window's
// information panel.
QByteArrayView versionText();

QString fromWindows1252(QByteArrayView bytes);

}  // namespace pairly
