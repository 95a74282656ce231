#pragma once

#include "font_fit.h"

#include <QString>

namespace quennix {

// The drawing surface of a display window as the count's drawing sees it:
// a client area measured in twips, a current position, and a font whose size
// reads back as the size it realised.
class CountCanvas {
public:
    virtual ~CountCanvas() = default;

    virtual bool isVisible() const = 0;
    virtual double scaleWidth() const = 0;
    virtual double scaleHeight() const = 0;

    // Fills the area with the background and puts the current position at 0, 0.
    virtual void clear() = 0;
    virtual void setCurrentX(double twips) = 0;
    virtual void setCurrentY(double twips) = 0;
    // Draws text with its top-left corner at the current position.
    virtual void print(const QString &text) = 0;
    virtual double textWidth(const QString &text) const = 0;
    virtual double textHeight(const QString &text) const = 0;

    virtual double fontSize() const = 0;
    virtual void setFontSize(double points) = 0;
    // An empty name keeps the face the window has.
    virtual void setFontName(const QString &name) = 0;
    // Measuring in the current face, bold and italic, at any size.
    virtual FitMeasure fitMeasure() const = 0;

    // The count shape the font was last fitted for (empty before any fit).
    virtual QString fittedShape() const = 0;
    virtual void setFittedShape(const QString &shape) = 0;
};

} // namespace quennix
