// SPDX-License-Identifier: MIT
#include "font_measurer.h"

#include "twips.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QtMath>

namespace quennix {

FontMeasurer::FontMeasurer(const QFont &face, double dpiX, double dpiY)
    : face_(face), dpiX_(dpiX), dpiY_(dpiY) {}

QFont FontMeasurer::font(int size) const {
    QFont f = face_;
    f.setPixelSize(qMax(1, qRound(size * dpiY_ / 72.0)));
    return f;
}

const FontMeasurer::Sized &FontMeasurer::sized(int size) const {
    auto it = sizes_.find(size);
    if (it == sizes_.end()) {
        // Each size holds on to a font engine: keep only the latest few dozen.
        if (sizes_.size() >= 64)
            sizes_.clear();
        const QFont f = font(size);
        it = sizes_.emplace(size, Sized{QFontInfo(f).pixelSize(), QFontMetricsF(f), {}}).first;
    }
    return it->second;
}

int FontMeasurer::pixelSize(int size) const {
    return sized(size).pixelSize;
}

double FontMeasurer::realise(int size) const {
    return pixelSize(size) * 72.0 / dpiY_;
}

double FontMeasurer::ascentPixels(int size) const {
    return sized(size).metrics.ascent();
}

TextExtent FontMeasurer::measure(const QString &text, int size) const {
    // A count is digits, group marks and a sign, laid side by side: the sum
    // of their advances, each asked of Qt once, spares shaping the whole text
    // every second.
    qreal width = 0;
    for (QChar c : text)
        width += advance(c, size);
    return {pixelsToTwips(width, dpiX_), pixelsToTwips(sized(size).metrics.height(), dpiY_)};
}

qreal FontMeasurer::advance(QChar c, int size) const {
    const Sized &s = sized(size);
    auto known = s.advances.constFind(c);
    if (known == s.advances.constEnd())
        known = s.advances.insert(c, s.metrics.horizontalAdvance(c));
    return *known;
}

QChar FontMeasurer::widestDigit() const {
    if (!widestDigit_) {
        // Measured once, at a size large enough that rounding to pixels
        // cannot reorder the digits; "8" wins a tie.
        constexpr int kReferenceSize = 100;
        QChar widest = QLatin1Char('8');
        for (QChar d : QStringLiteral("0123456789"))
            if (measure(d, kReferenceSize).width > measure(widest, kReferenceSize).width)
                widest = d;
        widestDigit_ = widest;
    }
    return *widestDigit_;
}

FitMeasure FontMeasurer::fitMeasure() const {
    return {[this](int size) { return realise(size); },
            [this](const QString &text, int size) { return measure(text, size); }, widestDigit()};
}

} // namespace quennix
