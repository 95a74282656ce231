// SPDX-License-Identifier: MIT
#pragma once

#include "count_widget.h"
#include "platform/services.h"

#include <QMainWindow>
#include <QTimer>
#include <optional>

namespace quennix {

// What both display windows share: the count widget in the middle, always on
// top, the outer frame's place and size in twips, dragging, and what happens
// when the count cannot be made. The window asks for what it cannot do
// itself with signals: to be swapped for the other kind, and (before it
// closes, while the program goes on) for its settings to be saved.
//
// Qt places a window by its frame but sizes it by its client area, and the
// frame is only known once the window manager has framed the window; some
// window managers also land a frame a few pixels off the place asked for
// (IceWM by its border, metacity by its title bar when a hidden window is
// shown again). So each time the window is shown, the place and size asked
// for are corrected once, when the window manager first reports where the
// frame landed, and only where the frame alone explains the difference: a
// window closed and reopened comes back to exactly the same outer place and
// size, while whatever the user or the window manager does afterwards, or
// a size the window manager chose (a tiling one's tile), stands.
class DisplayWindow : public QMainWindow {
    Q_OBJECT
public:
    // The number the settings file's Mode gives this kind of window.
    qint32 mode() const { return mode_; }
    CountWidget &countWidget() { return *count_; }
    const CountWidget &countWidget() const { return *count_; }

    // What every kind of window does once its own parts are in place (the
    // window factory calls it): its layout activated, so its minimum size
    // holds from now on; the count drawn once, which reports a count that
    // cannot be made; the count named for screen readers by the caption,
    // or, in a window without one, by the caption the framed one would have.
    void finishLoading();

    // The outer frame's place and size, in twips, read and set at once. A
    // frame set is never larger than the screen it lands on, nor smaller
    // than the window's minimum, and is moved so the whole count area is on
    // that screen; so is the window whenever the screens change.
    QRectF outerTwips() const;
    void setOuterTwips(const QRectF &twips);
    // Moves the outer frame by `travel` twips, keeping its size.
    void moveOuterBy(QPointF travel);

signals:
    // To be swapped for the next kind of window (a double-click, Enter).
    void switchRequested();
    // To save the settings for it and end the program at once (File > Exit).
    void exitRequested();
    // Closing while the program goes on: its settings are to be saved.
    void closing();

protected:
    DisplayWindow(qint32 mode, AppState &state, Services &services, Qt::WindowFlags flags);
    AppState &state() const { return state_; }
    Services &services() const { return services_; }
    // `client` is the built-in place and size of the count area, in twips;
    // `above` the pixels the framed window's menu bar takes above it.
    void placeBuiltIn(const QRectF &client, int above);
    // "Seconds to " and the base time, as a window names it when it opens.
    QString openingCaption() const;

    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void reportCountFailure(const RunError &error);
    QMargins frameMargins() const;
    // The outer frame in logical pixels.
    QRect outerGeometry() const;
    // An outer size, but never smaller than the window's minimum.
    QSize atLeastMinimum(QSize outer) const;
    // Where the outer frame `outer` goes on the screens.
    QRect placed(const QRect &outer) const;
    // Places the outer frame at `outer`; before the frame has landed, that is
    // also the place its landing is corrected to.
    void setOuter(const QRect &outer);
    // The window manager's first report of the frame since the window was
    // shown: the one correction, where the frame explains the difference.
    void reportLanding();

    AppState &state_;
    Services &services_;
    qint32 mode_;
    CountWidget *count_;
    // Whether the frame has landed since the window was last shown (a window
    // manager that never reports it is waited for only so long).
    bool landed_ = false;
    QTimer landingWait_;
    // The outer frame asked for before it landed.
    std::optional<QRect> wantedOuter_;
    // The frame the window had when it was last hidden.
    QMargins lastFrame_;
};

} // namespace quennix
