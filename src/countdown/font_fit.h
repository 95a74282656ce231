#pragma once

#include <QString>
#include <functional>

namespace quennix {

// How big a text is, in twips, at one font size.
struct TextExtent {
    double width = 0;
    double height = 0;
};

// What the fitting needs to know about a face: the size a requested whole
// point size realises as (fonts snap to whole pixels, bitmap faces stop at their
// largest size), and the extent of a text at a requested size.
struct FitMeasure {
    std::function<double(int size)> realise;
    std::function<TextExtent(const QString &text, int size)> measure;
};

// The narrowest text the width must hold: eight digits and two separators.
inline QString widestCountTemplate() { return QStringLiteral("88,888,888"); }

// The shape a count takes on screen: its text with every digit made "8", but
// never narrower than the eight-digit template. Counts of the same shape need
// the same room, so the font is fitted again only when the shape changes.
QString countShape(const QString &countText);

// Both bounds leave 5 % of the drawing area free.
constexpr double kFitMargin = 0.95;
// The largest size ever tried: a face whose realised size stops growing would
// otherwise never fail the bounds.
constexpr int kMaxFitSize = 2000;

// The largest whole point size at which the digit "8" fits 95 % of the height
// and widthText fits 95 % of the width, given the drawing area in twips.
// Sizes are tried from 2 up; the answer is the whole number (halves to even) of
// the realised size of the last size that fitted, so an area too small for
// size 2 gets the whole number of the realised size 1. A size fails as well when
// it passes kMaxFitSize or when doubling the request no longer grows the
// realised size.
//
// fitFontSize finds that size by bracketing and bisection, with O(log n)
// measurements; fitFontSizeStepping tries every size in turn and is kept as
// the plain statement of the rule.
int fitFontSize(double scaleWidth, double scaleHeight, const QString &widthText,
                const FitMeasure &m);
int fitFontSizeStepping(double scaleWidth, double scaleHeight, const QString &widthText,
                        const FitMeasure &m);

} // namespace quennix
