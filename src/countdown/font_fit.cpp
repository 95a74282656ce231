#include "font_fit.h"

#include "number_text.h"

namespace quennix {

QString countShape(const QString &countText) {
    QString shape = countText;
    int digits = 0;
    for (QChar &c : shape) {
        if (c.isDigit()) {
            c = QLatin1Char('8');
            ++digits;
        }
    }
    // Below eight digits the template is the widest; from eight on, the count's own
    // shape holds the template and more.
    return digits >= 8 ? shape : widestCountTemplate();
}

namespace {

// Whether a requested size breaks a bound (or the search must stop there).
class FitRule {
public:
    FitRule(double scaleWidth, double scaleHeight, const QString &widthText, const FitMeasure &m)
        : maxHeight_(float(kFitMargin * scaleHeight)), maxWidth_(float(kFitMargin * scaleWidth)),
          widthText_(widthText), m_(m) {}

    bool fails(int size) const {
        if (size > kMaxFitSize)
            return true;
        // A face that stops growing (a bitmap face at its largest size) would
        // pass every bound from here on; doubling the request without any
        // growth says that point has come.
        if (size >= 4 && m_.realise(size) <= m_.realise(size / 2))
            return true;
        if (double(maxHeight_) < m_.measure(QStringLiteral("8"), size).height)
            return true;
        return double(maxWidth_) < m_.measure(widthText_, size).width;
    }

    // The size set when `firstFailing` is the first size that fails.
    int answer(int firstFailing) const { return wholeNumber(m_.realise(firstFailing - 1)); }

private:
    float maxHeight_;
    float maxWidth_;
    const QString &widthText_;
    const FitMeasure &m_;
};

} // namespace

int fitFontSizeStepping(double scaleWidth, double scaleHeight, const QString &widthText,
                        const FitMeasure &m) {
    const FitRule rule(scaleWidth, scaleHeight, widthText, m);
    int size = 2;
    while (!rule.fails(size))
        ++size;
    return rule.answer(size);
}

int fitFontSize(double scaleWidth, double scaleHeight, const QString &widthText,
                const FitMeasure &m) {
    return fitFontSizeStepping(scaleWidth, scaleHeight, widthText, m);
}

} // namespace quennix
