// SPDX-License-Identifier: MIT
#include "font_fit.h"

#include "number_text.h"

namespace quennix {

QString countShape(const QString &countText, QChar widestDigit) {
    QString shape = countText;
    int digits = 0;
    for (QChar &c : shape) {
        if (isDigit(c)) {
            c = widestDigit;
            ++digits;
        }
    }
    // Below eight digits the template is the widest; from eight on, the count's own
    // shape holds the template and more.
    if (digits >= 8)
        return shape;
    return QStringLiteral("88,888,888").replace(QLatin1Char('8'), widestDigit);
}

FitRule::FitRule(double scaleWidth, double scaleHeight, const QString &widthText,
                 const FitMeasure &m)
    : maxHeight_(float(kFitMargin * scaleHeight)), maxWidth_(float(kFitMargin * scaleWidth)),
      widthText_(widthText), m_(m) {}

bool FitRule::fails(int size) const {
    // A face that stops growing (a bitmap face at its largest size) passes
    // every bound from there on; the search below reaches the cap in a dozen
    // measurements, and every size past the face's largest gives its answer.
    if (size > kMaxFitSize)
        return true;
    if (double(maxHeight_) < m_.measure(QStringLiteral("8"), size).height)
        return true;
    return double(maxWidth_) < m_.measure(widthText_, size).width;
}

int FitRule::answer(int firstFailing) const {
    return wholeNumber(m_.realise(firstFailing - 1));
}

int fitFontSize(double scaleWidth, double scaleHeight, const QString &widthText,
                const FitMeasure &m) {
    const FitRule rule(scaleWidth, scaleHeight, widthText, m);
    // Sizes pass up to a point and fail from there on. Double the size until
    // one fails, then halve the gap between a size that passed (half the
    // failing one, or 1 before 2: "the size before") and the first that
    // failed: the same first failing size as trying every size, found with a
    // few dozen measurements instead of hundreds.
    int failing = 2;
    while (!rule.fails(failing))
        failing = qMin(failing * 2, kMaxFitSize + 1);
    int passing = failing / 2;
    while (failing - passing > 1) {
        const int mid = passing + (failing - passing) / 2;
        (rule.fails(mid) ? failing : passing) = mid;
    }
    return rule.answer(failing);
}

int fitFontSizeByStepping(double scaleWidth, double scaleHeight, const QString &widthText,
                          const FitMeasure &m) {
    const FitRule rule(scaleWidth, scaleHeight, widthText, m);
    int size = 2;
    while (!rule.fails(size))
        ++size;
    return rule.answer(size);
}

} // namespace quennix
