// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Sound failures never reach the player; whoever diagnoses a silent game
// switches this on with QT_LOGGING_RULES="pairly.sound.warning=true".
Q_DECLARE_LOGGING_CATEGORY(lcSound)
