#include "count_surface.h"

#include "countdown/count_drawing.h"
#include "countdown/formats.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace quennix {

namespace {

int buttonValue(Qt::MouseButtons buttons) {
    int value = 0;
    if (buttons & Qt::LeftButton)
        value |= 1;
    if (buttons & Qt::RightButton)
        value |= 2;
    if (buttons & Qt::MiddleButton)
        value |= 4;
    return value;
}

} // namespace

CountSurface::CountSurface(const AppState &state, Services &services, SurfaceOwner &owner,
                           QWidget *parent)
    : QWidget(parent), state_(state), services_(services), owner_(owner) {
    // The built-in face: a serif at 24 points, bold.
    face_.setFamily(QStringLiteral("MS Serif"));
    face_.setStyleHint(QFont::Serif);
    face_.setBold(true);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    keepMinimumSize();

    // Screen readers hear of the count only when it changes: every change of
    // the description is announced to them.
    connect(this, &CountSurface::countChanged, this, &QWidget::setAccessibleDescription);

    // The tick wakes just after each clock second rather than every 100 ms:
    // the count still changes within a few milliseconds of the second, and
    // an idle count costs one wake-up a second.
    timer1_.setSingleShot(true);
    timer1_.setTimerType(Qt::PreciseTimer);
    connect(&timer1_, &QTimer::timeout, this, [this] {
        Timer1_Timer();
        scheduleTick();
    });
    scheduleTick();
}

void CountSurface::keepMinimumSize() {
    // Whole pixels that hold at least the twips, at this screen's dpi. The
    // window's own minimum follows through its layout, so neither a settings
    // file, a switch nor a drag on the frame can make it smaller.
    setMinimumSize(qCeil(toPixelsX(kMinimumCountWidth)), qCeil(toPixelsY(kMinimumCountHeight)));
}

void CountSurface::scheduleTick() {
    // A little past the second, so the clock is sure to read the new one; a
    // tick that still comes early finds the same second and waits again.
    // Read afresh each time, so a clock that jumps is followed within a second.
    constexpr int kPastTheSecond = 5;
    const int msec = services_.clock.now().time().msec();
    timer1_.start(1000 - msec + kPastTheSecond);
}

bool CountSurface::isVisible() const {
    return QWidget::isVisible();
}

double CountSurface::toPixelsX(double twips) const {
    return twipsToPixels(twips, logicalDpiX());
}
double CountSurface::toPixelsY(double twips) const {
    return twipsToPixels(twips, logicalDpiY());
}
double CountSurface::toTwipsX(double px) const {
    return pixelsToTwips(px, logicalDpiX());
}
double CountSurface::toTwipsY(double px) const {
    return pixelsToTwips(px, logicalDpiY());
}

double CountSurface::scaleWidth() const {
    return toTwipsX(width());
}
double CountSurface::scaleHeight() const {
    return toTwipsY(height());
}

void CountSurface::clear() {
    shownText_.clear();
    currentX_ = 0;
    currentY_ = 0;
    update();
}

void CountSurface::print(const QString &text) {
    shownText_ = text;
    if (text != announcedText_) {
        announcedText_ = text;
        emit countChanged(text);
    }
    update();
}

const std::shared_ptr<FontMeasurer> &CountSurface::measurer() const {
    // Kept while the face and the screen's dpi stay the same.
    if (!measurer_ || measurer_->dpiX() != logicalDpiX() || measurer_->dpiY() != logicalDpiY())
        measurer_ = std::make_shared<FontMeasurer>(face_, logicalDpiX(), logicalDpiY());
    return measurer_;
}

QFont CountSurface::drawFont() const {
    return measurer()->font(requestedSize_);
}

double CountSurface::textWidth(const QString &text) const {
    return measurer()->measure(text, requestedSize_).width;
}

double CountSurface::textHeight(const QString &text) const {
    return measurer()->measure(text, requestedSize_).height;
}

double CountSurface::fontSize() const {
    return measurer()->realise(requestedSize_);
}

void CountSurface::setFontSize(double points) {
    requestedSize_ = qBound(0, qRound(points), kMaxFitSize);
    update();
}

void CountSurface::setFontName(const QString &name) {
    if (name.isEmpty() || name == face_.family())
        return;
    face_.setFamily(name);
    fontChanged();
}

void CountSurface::setFontBold(bool bold) {
    face_.setBold(bold);
    fontChanged();
}

void CountSurface::setFontItalic(bool italic) {
    face_.setItalic(italic);
    fontChanged();
}

void CountSurface::fontChanged() {
    // A new face needs a new fit even if the count keeps its shape.
    measurer_.reset();
    fittedShape_.clear();
    update();
}

FitMeasure CountSurface::fitMeasure() const {
    // The measurer lives inside the functions, so they outlive this call.
    const std::shared_ptr<FontMeasurer> m = measurer();
    return {[m](int size) { return m->realise(size); },
            [m](const QString &text, int size) { return m->measure(text, size); }};
}

void CountSurface::Timer1_Timer() {
    // The date belongs in the comparison: a clock set a whole day (or a
    // machine suspended a whole week) shows the same time of day, yet a
    // different count.
    const QString clock =
        formatDate(toDateValue(services_.clock.now()), QStringLiteral("dd/mm/yyyy h:mm:ss AM/PM"));
    if (clock == lastShownTime_)
        return;
    lastShownTime_ = clock;
    Display_Time(*this, state_, services_);
}

void CountSurface::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (shownText_.isEmpty())
        return;
    const FontMeasurer &m = *measurer();
    p.setFont(m.font(requestedSize_));
    p.setPen(palette().color(QPalette::WindowText));
    // The current position is the text's top-left corner; snap the baseline to
    // a whole device pixel so the digits stay crisp.
    const qreal dpr = devicePixelRatioF();
    const qreal x = qRound(toPixelsX(currentX_) * dpr) / dpr;
    const qreal y = qRound((toPixelsY(currentY_) + m.ascentPixels(requestedSize_)) * dpr) / dpr;
    p.drawText(QPointF(x, y), shownText_);
}

void CountSurface::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    Fit_Font(*this, state_, services_);
}

void CountSurface::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    keepMinimumSize(); // the screen, and so the dpi, is known for sure now
    // The first appearance counts as a size change: the font is fitted now
    // that the surface is visible.
    Fit_Font(*this, state_, services_);
}

void CountSurface::mousePressEvent(QMouseEvent *event) {
    owner_.Form_MouseDown(buttonValue(event->button()), toTwipsX(event->position().x()),
                          toTwipsY(event->position().y()));
}

void CountSurface::mouseMoveEvent(QMouseEvent *event) {
    owner_.Form_MouseMove(buttonValue(event->buttons()), toTwipsX(event->position().x()),
                          toTwipsY(event->position().y()));
}

void CountSurface::mouseReleaseEvent(QMouseEvent *event) {
    owner_.Form_MouseUp(buttonValue(event->button()), toTwipsX(event->position().x()),
                        toTwipsY(event->position().y()));
}

void CountSurface::mouseDoubleClickEvent(QMouseEvent *event) {
    // Not a press: the second click of a double-click must not start a drag.
    if (event->button() == Qt::LeftButton)
        owner_.Form_DblClick();
}

} // namespace quennix
