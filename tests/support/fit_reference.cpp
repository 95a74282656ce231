#include "fit_reference.h"

namespace quennix::test {

int fitFontSizeStepping(double scaleWidth, double scaleHeight, const QString &widthText,
                        const FitMeasure &m) {
    const FitRule rule(scaleWidth, scaleHeight, widthText, m);
    int size = 2;
    while (!rule.fails(size))
        ++size;
    return rule.answer(size);
}

} // namespace quennix::test
