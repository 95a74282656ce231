#pragma once

#include "countdown/font_fit.h"

namespace quennix::test {

// The fitting rule applied literally: every size from 2 up until one fails.
// The reference the fast search must agree with.
int fitFontSizeStepping(double scaleWidth, double scaleHeight, const QString &widthText,
                        const FitMeasure &m);

} // namespace quennix::test
