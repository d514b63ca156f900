// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound_log.h"

Q_LOGGING_CATEGORY(lcSound, "pairly.sound", QtCriticalMsg)
