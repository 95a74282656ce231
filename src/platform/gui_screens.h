// SPDX-License-Identifier: MIT
#pragma once

#include "screens.h"

namespace quennix {

// The desktop's screens as the GUI application sees them.
class GuiScreens : public Screens {
public:
    QVector<QRect> geometries() const override;
    QRect primary() const override;
};

} // namespace quennix
