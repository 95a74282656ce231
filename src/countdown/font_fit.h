// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

namespace quennix {

// How big a text is, in twips, at one font size.
struct TextExtent {
    double width;
    double height;
};

// What the fitting needs to know about a face: the size a requested whole
// point size realises as (fonts snap to whole pixels, bitmap faces stop at their
// largest size), the extent of a text at a requested size (its advance
// width and one line's height, the same for any text), and the digit that
// takes the most room: "8" in every face whose digits share one width, but
// not in a face of proportional digits or a symbol face.
struct FitMeasure {
    std::function<double(int size)> realise;
    std::function<TextExtent(const QString &text, int size)> measure;
    QChar widestDigit = QLatin1Char('8');
};

// The shape a count takes on screen: its text with every digit made the
// widest digit, but never narrower than the template of eight digits and two
// separators ("88,888,888"). Counts of the same shape need the same room, so
// the font is fitted again only when the shape changes, and no count of a
// shape is wider than the shape.
QString countShape(const QString &countText, QChar widestDigit = QLatin1Char('8'));

// Both bounds leave 5 % of the drawing area free.
constexpr double kFitMargin = 0.95;
// The largest size ever tried: a face whose realised size stops growing would
// otherwise never fail the bounds.
constexpr int kMaxFitSize = 2000;

// The rule a size is fitted by, given the drawing area in twips. Sizes are
// tried from 2 up: a size fails when the digit "8" is taller than 95 % of the
// height or widthText wider than 95 % of the width, or when it passes
// kMaxFitSize.
// The answer is the whole number (halves to even) of the realised size of the
// last size before the first one that fails, so an area too small for size 2
// gets the whole number of the realised size 1.
class FitRule {
public:
    FitRule(double scaleWidth, double scaleHeight, const QString &widthText, const FitMeasure &m);

    bool fails(int size) const;
    // The size to set when `firstFailing` is the first size that fails.
    int answer(int firstFailing) const;

private:
    float maxHeight_;
    float maxWidth_;
    QString widthText_;
    const FitMeasure &m_;
};

// The size the rule gives, found by bracketing and bisection: O(log n)
// measurements. Every test of the rule fails from some size on, which is what
// lets the search skip sizes and still find the first size that fails.
int fitFontSize(double scaleWidth, double scaleHeight, const QString &widthText,
                const FitMeasure &m);
// The same size found as the rule reads, one size at a time from 2 up: the
// reference the tests and the fit benchmark hold the search to, never drawn.
int fitFontSizeByStepping(double scaleWidth, double scaleHeight, const QString &widthText,
                          const FitMeasure &m);

} // namespace quennix
