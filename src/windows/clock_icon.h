// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

namespace quennix {

// The clock-face icon both display windows carry, drawn from the same
// scalable picture that is installed as the program's icon.
QIcon clockIcon();

} // namespace quennix
