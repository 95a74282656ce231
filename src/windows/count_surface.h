#pragma once

#include "countdown/app_state.h"
#include "countdown/count_canvas.h"
#include "countdown/font_measurer.h"
#include "platform/services.h"

#include <QTimer>
#include <QWidget>

namespace quennix {

// The smallest area the count is drawn in, in twips: room for a legible count,
// and (with the window manager's frame around it) a caption wide enough to
// grab. 112 x 24 pixels at 96 dpi.
constexpr double kMinimumCountWidth = 1680;
constexpr double kMinimumCountHeight = 360;

// What a display window hears from its drawing surface.
class SurfaceOwner {
public:
    virtual ~SurfaceOwner() = default;
    // Buttons: 1 left, 2 right, 4 middle; positions in twips within the area.
    virtual void Form_MouseDown(int button, double x, double y) = 0;
    virtual void Form_MouseMove(int buttons, double x, double y) = 0;
    virtual void Form_MouseUp(int button, double x, double y) = 0;
    virtual void Form_DblClick() = 0;
};

// The area a display window draws the count in. It holds the drawing state
// (current position, font and its realised size, the text last drawn) in
// twips and points; the count's drawing updates that state and asks for a
// repaint, and painting only draws from it. It also runs the window's tick,
// once a clock second, and fits the font whenever its size changes.
//
// For screen readers its accessible name says what is counted ("Seconds to"
// and the base time, set by the window) and its description is the count.
class CountSurface : public QWidget, public CountCanvas {
    Q_OBJECT
public:
    CountSurface(const AppState &state, Services &services, SurfaceOwner &owner,
                 QWidget *parent = nullptr);

    // CountCanvas
    bool isVisible() const override;
    double scaleWidth() const override;
    double scaleHeight() const override;
    void clear() override;
    void setCurrentX(double twips) override { currentX_ = twips; }
    void setCurrentY(double twips) override { currentY_ = twips; }
    void print(const QString &text) override;
    double textWidth(const QString &text) const override;
    double textHeight(const QString &text) const override;
    double fontSize() const override;
    void setFontSize(double points) override;
    void setFontName(const QString &name) override;
    FitMeasure fitMeasure() const override;
    QString fittedShape() const override { return fittedShape_; }
    void setFittedShape(const QString &shape) override { fittedShape_ = shape; }

    QString fontName() const { return face_.family(); }
    bool fontBold() const { return face_.bold(); }
    void setFontBold(bool bold);
    bool fontItalic() const { return face_.italic(); }
    void setFontItalic(bool italic);

    double currentX() const { return currentX_; }
    double currentY() const { return currentY_; }
    // The text on screen now, and the font it is drawn in.
    QString shownText() const { return shownText_; }
    QFont drawFont() const;

    // Twips and logical pixels of this surface's screen.
    double toPixelsX(double twips) const;
    double toPixelsY(double twips) const;
    double toTwipsX(double px) const;
    double toTwipsY(double px) const;

    // The tick: draws the count when the clock's second has changed. It runs
    // just after each clock second.
    void Timer1_Timer();

signals:
    // The count drawn is a different text now: once a clock second at most,
    // never for a redraw of the same count (a resize, a new fit).
    void countChanged(const QString &count);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    const std::shared_ptr<FontMeasurer> &measurer() const;
    void fontChanged();
    void scheduleTick();
    void keepMinimumSize();

    const AppState &state_;
    Services &services_;
    SurfaceOwner &owner_;
    QTimer timer1_;

    mutable std::shared_ptr<FontMeasurer> measurer_; // see measurer()
    QFont face_; // face, bold and italic; the size lives in requestedSize_
    int requestedSize_ = 24;
    double currentX_ = 0; // twips
    double currentY_ = 0;
    QString shownText_;
    QString announcedText_; // the last text countChanged told of
    QString fittedShape_;
    QString lastShownTime_;
};

} // namespace quennix
