// SPDX-License-Identifier: MIT
#pragma once

#include "font_fit.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>

#include <map>
#include <optional>

namespace quennix {

// Measures a face at whole point sizes the way the screen realises them: a
// point size becomes a whole number of logical pixels (at least one), and the
// face may offer a different pixel size (bitmap faces). Sizes come back in
// points, extents in twips. What it learns about a size is kept, so the fit's
// repeated questions and the once-a-second drawing ask Qt only once per size.
class FontMeasurer {
public:
    FontMeasurer(const QFont &face, double dpiX, double dpiY);

    // The logical pixel size a requested point size is drawn at.
    int pixelSize(int size) const;
    double realise(int size) const;
    TextExtent measure(const QString &text, int size) const;
    // How far a character advances at a requested point size, in logical
    // pixels: the one measure of a character's width, for the fit and the
    // drawing alike.
    qreal advance(QChar c, int size) const;
    // The face at a requested point size, as it is drawn.
    QFont font(int size) const;
    // How far the baseline lies below the top of a line, in logical pixels.
    double ascentPixels(int size) const;

    // The digit that takes the most room in this face.
    QChar widestDigit() const;
    FitMeasure fitMeasure() const;

    const QFont &face() const { return face_; }
    double dpiX() const { return dpiX_; }
    double dpiY() const { return dpiY_; }

private:
    struct Sized {
        int pixelSize;
        QFontMetricsF metrics;
        mutable QHash<QChar, qreal> advances;
    };
    const Sized &sized(int size) const;

    QFont face_;
    double dpiX_;
    double dpiY_;
    mutable std::map<int, Sized> sizes_;
    mutable std::optional<QChar> widestDigit_;
};

} // namespace quennix
