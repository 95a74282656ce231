// SPDX-License-Identifier: MIT
#include "count_widget.h"

#include "countdown/number_text.h"
#include "countdown/twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <QtMath>
#include <utility>

namespace quennix {

CountWidget::CountWidget(const AppState &state, Services &services, QWidget *parent)
    : QWidget(parent), state_(state), services_(services) {
    // The built-in face: a serif, bold.
    style_.setFamily(QStringLiteral("MS Serif"));
    style_.setStyleHint(QFont::Serif);
    style_.setBold(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus); // Enter on the count switches the window kind
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    keepMinimumSize();

    connect(&services_.ticker, &SecondTicker::fired, this, &CountWidget::tick);
}

void CountWidget::keepMinimumSize() {
    // Whole pixels that hold at least the twips at this screen's dpi. The
    // window's own minimum follows through its layout, so neither a settings
    // file, a switch nor a drag on the frame makes the count area smaller.
    setMinimumSize(qCeil(twipsToPixels(kMinimumCountWidth, logicalDpiX())),
                   qCeil(twipsToPixels(kMinimumCountHeight, logicalDpiY())));
}

const FontMeasurer &CountWidget::measurer() const {
    // Kept while the face and the screen's dpi stay the same.
    const QFont now = face();
    if (!measurer_ || measurer_->face() != now ||
        std::pair(measurer_->dpiX(), measurer_->dpiY()) !=
            std::pair<double, double>(logicalDpiX(), logicalDpiY()))
        measurer_ = std::make_unique<FontMeasurer>(now, logicalDpiX(), logicalDpiY());
    return *measurer_;
}

QFont CountWidget::face() const {
    QFont f = style_;
    if (!state_.fontName().isEmpty())
        f.setFamily(state_.fontName());
    return f;
}

void CountWidget::setStyle(bool bold, bool italic) {
    style_.setBold(bold);
    style_.setItalic(italic);
    drawCount();
}

double CountWidget::fontSize() const {
    return measurer().realise(layout_.fontSize);
}

Instant CountWidget::target() {
    // Worked out once, and again only when the base time or the zone
    // changes, so a tick costs next to nothing.
    const quint64 revision = services_.zone.revision();
    const BaseTime &time = state_.baseTime();
    if (!target_ || targetFor_ != time.value() || targetRevision_ != revision) {
        target_ = time.instant(services_.zone);
        targetFor_ = time.value();
        targetRevision_ = revision;
    }
    return *target_;
}

void CountWidget::drawCount(qint64 nowMSecs) {
    QString count;
    try {
        count = countText(target(), secondOf(nowMSecs));
    } catch (const RunError &error) {
        emit countFailed(error);
        return;
    }
    // Screen readers announce every change of the description: once a
    // second at most, never for a redraw of the same count.
    if (count != accessibleDescription())
        setAccessibleDescription(count);
    if (!isVisible())
        return; // laid out when shown
    // A new face, the shared one or this window's bold or italic, is fitted
    // afresh and drawn whole, as a new base time is counted to, at the next
    // drawing.
    if (measurer().face() != laidOutIn_) {
        laidOutIn_ = measurer().face();
        layout_ = CountLayout();
    }
    const QSizeF area(pixelsToTwips(width(), logicalDpiX()),
                      pixelsToTwips(height(), logicalDpiY()));
    const CountLayout next = layoutCount(area, count, measurer().fitMeasure(), layout_);
    std::vector<CountGlyphs::Glyph> glyphs = placeGlyphs(next);
    // A count of the same shape in the same area repaints only the glyphs
    // that changed, mostly the last digit or two; a new shape (or face) is
    // drawn afresh. Qt itself repaints the whole widget after a resize (so a
    // new area waits for that one paint), on another screen and in new
    // colours.
    const bool inPlace = next.shape == layout_.shape && next.area == layout_.area;
    const QRegion changed = inPlace ? glyphs_.changed(shown_, glyphs) & rect() : QRegion(rect());
    layout_ = next;
    shown_ = std::move(glyphs);
    // A few digits are painted at once, sparing the event loop a round; a
    // whole new picture waits for it, with whatever else is pending.
    if (inPlace)
        repaint(changed);
    else
        update(changed);
}

void CountWidget::tick(qint64 nowMSecs) {
    // The whole instant is compared, not the time of day: a clock set a whole
    // day on (or a machine suspended a whole week) shows the same time of
    // day, yet a different count.
    const Instant second = secondOf(nowMSecs);
    if (second != lastTick_) {
        lastTick_ = second;
        drawCount(nowMSecs);
    }
}

QPointF CountWidget::baselineOrigin(const CountLayout &layout) const {
    const qreal dpr = devicePixelRatioF();
    const qreal x = qRound(twipsToPixels(layout.topLeft.x(), logicalDpiX()) * dpr) / dpr;
    const qreal y = qRound((twipsToPixels(layout.topLeft.y(), logicalDpiY()) +
                            measurer().ascentPixels(layout.fontSize)) *
                           dpr) /
                    dpr;
    return QPointF(x, y);
}

QColor CountWidget::textColour() const {
    return palette().color(QPalette::WindowText);
}

std::vector<CountGlyphs::Glyph> CountWidget::placeGlyphs(const CountLayout &layout) {
    glyphs_.setAppearance(measurer().font(layout.fontSize), devicePixelRatioF(), textColour());
    return glyphs_.place(layout.text, baselineOrigin(layout), measurer(), layout.fontSize);
}

void CountWidget::paintEvent(QPaintEvent *event) {
    // Often just the digits that changed: the glyphs reaching into them.
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Window));
    if (layout_.text.isEmpty())
        return;
    // Placed again each time: on a screen of another ratio, or in new colours
    // (the desktop's theme, the user's scheme; Qt repaints the whole widget
    // then), the glyphs are drawn afresh.
    shown_ = placeGlyphs(layout_);
    glyphs_.draw(p, shown_, event->region());
}

void CountWidget::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    drawCount();
}

void CountWidget::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    // The screen's dpi is certain now, and it may change with the screen.
    keepMinimumSize();
    if (QWindow *handle = window()->windowHandle())
        connect(handle, &QWindow::screenChanged, this, &CountWidget::keepMinimumSize,
                Qt::UniqueConnection);
    // The first appearance counts as a size change: laid out now that the
    // widget is visible.
    drawCount();
}

QPoint CountWidget::wholeTwips(QPointF px) const {
    return QPoint(wholeNumber(pixelsToTwips(px.x(), logicalDpiX())),
                  wholeNumber(pixelsToTwips(px.y(), logicalDpiY())));
}

void CountWidget::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    dragStart_ = dragLast_ = wholeTwips(event->position());
}

void CountWidget::mouseMoveEvent(QMouseEvent *event) {
    // Only while the left button alone is held; the window does not follow
    // the pointer during the drag.
    if (dragging_ && event->buttons() == Qt::LeftButton)
        dragLast_ = wholeTwips(event->position());
}

void CountWidget::mouseReleaseEvent(QMouseEvent *) {
    // The release of any button ends a drag.
    if (!dragging_)
        return;
    dragging_ = false;
    emit dragged(dragLast_ - dragStart_);
}

void CountWidget::mouseDoubleClickEvent(QMouseEvent *event) {
    // Not a press: the second click of a double-click starts no drag (the
    // first one's release ended its own).
    if (event->button() == Qt::LeftButton)
        emit switchRequested();
}

void CountWidget::keyPressEvent(QKeyEvent *event) {
    // The keyboard's way to the other kind: the title-less window has no menu.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit switchRequested();
    else
        QWidget::keyPressEvent(event);
}

} // namespace quennix
