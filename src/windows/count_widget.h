// SPDX-License-Identifier: MIT
#pragma once

#include "count_glyphs.h"
#include "countdown/count_layout.h"
#include "countdown/font_measurer.h"
#include "countdown/run_error.h"
#include "platform/services.h"
#include "state/app_state.h"

#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

namespace quennix {

// The smallest area the count is drawn in, in twips: room for a legible count
// and, with the window manager's frame around it, a caption wide enough to
// grab. 112 x 24 pixels at 96 dpi.
constexpr double kMinimumCountWidth = 1680;
constexpr double kMinimumCountHeight = 360;

// The area a display window shows the count in. Drawing goes one way: the
// widget asks for the count, lays it out (layoutCount) when the count, the
// size or the face changes, keeps that layout and paints from it. It draws
// at each new second of the ticker, and reports a count that cannot be made
// (countFailed) to its window, which decides what to do.
//
// Dragging with the left button is reported once, at release, as the
// pointer's travel in whole twips. For screen readers its description is the
// count; the window names it.
class CountWidget : public QWidget {
    Q_OBJECT
public:
    CountWidget(const AppState &state, Services &services, QWidget *parent = nullptr);

    // The shared face (AppState::fontName), or the built-in one while none
    // was chosen, in this window's bold and italic: the whole face the count
    // is fitted and drawn in, decorations included.
    QFont face() const;
    QString faceName() const { return face().family(); }
    bool bold() const { return style_.bold(); }
    bool italic() const { return style_.italic(); }
    // This window's bold and italic, drawn at once. A new shared face is
    // followed by itself, at the next drawing.
    void setStyle(bool bold, bool italic);
    // The realised size the count is drawn at, in points.
    double fontSize() const;

    // Draws the count of this moment. While hidden, only the count is made.
    void drawCount() { drawCount(services_.clock.nowMSecs()); }

signals:
    void countFailed(const quennix::RunError &error);
    // A double-click, or Enter on the count: the other kind of window, please.
    void switchRequested();
    void dragged(QPoint travelTwips);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void drawCount(qint64 nowMSecs);
    // Draws the count when the clock's second has changed since the last tick.
    void tick(qint64 nowMSecs);
    // The instant the base time names in the zone now in force.
    Instant target();
    // The glyphs of a layout, in its face and size, on this screen and in
    // the colours of now.
    std::vector<CountGlyphs::Glyph> placeGlyphs(const CountLayout &layout);
    QColor textColour() const;
    void keepMinimumSize();
    const FontMeasurer &measurer() const;
    // Where the text's baseline starts, in logical pixels, snapped to a whole
    // device pixel so the digits stay crisp.
    QPointF baselineOrigin(const CountLayout &layout) const;
    QPoint wholeTwips(QPointF px) const;

    const AppState &state_;
    Services &services_;
    std::optional<Instant> lastTick_; // the clock's second at the last tick
    std::optional<Instant> target_;
    DateValue targetFor_{};    // the base time target_ was worked out for
    quint64 targetRevision_{}; // and the zone's revision then
    QFont style_;              // the built-in face, bold and italic; the size comes from the layout
    mutable std::unique_ptr<FontMeasurer> measurer_;
    CountLayout layout_; // the count on screen
    QFont laidOutIn_;    // and the face it was fitted in
    CountGlyphs glyphs_;
    std::vector<CountGlyphs::Glyph> shown_; // its glyphs, placed for the device pixel
    bool dragging_{};
    QPoint dragStart_, dragLast_; // whole twips within the widget
};

} // namespace quennix
