// SPDX-License-Identifier: MIT
#pragma once

#include "screens.h"

class QScreen;

namespace quennix {

// The desktop's screens as the GUI application sees them.
class SystemScreens : public Screens {
    Q_OBJECT
public:
    SystemScreens();
    QVector<QRect> geometries() const override;
    QRect primary() const override;

private:
    void watch(QScreen *screen);
};

} // namespace quennix
