#pragma once

#include <QIcon>

namespace pairly {

// The icon both windows carry, from the embedded picture set.
QIcon pairlyIcon();

}  // namespace pairly
