// SPDX-License-Identifier: MIT
#include "display_window.h"

#include "clock_icon.h"
#include "countdown/formats.h"
#include "countdown/twips.h"
#include "platform/screen_placement.h"

#include <QCloseEvent>
#include <QLayout>
#include <QWindow>

namespace quennix {

namespace {

// How long after showing the window the frame may still change under it
// (window managers frame a new window within a few frames), checked every
// 50 ms.
constexpr int kSettleTime = 1000;

// The box that asks to end the program when the count cannot be made.
const QString kDrawingBox = QStringLiteral("Display_Time");

} // namespace

DisplayWindow::DisplayWindow(qint32 mode, AppState &state, Services &services,
                             Qt::WindowFlags flags)
    // Kept above other windows from the moment it is first shown.
    : QMainWindow(nullptr, flags | Qt::Window | Qt::WindowStaysOnTopHint), state_(state),
      services_(services), mode_(mode), count_(new CountWidget(state, services, this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(clockIcon());
    setCentralWidget(count_);
    connect(count_, &CountWidget::countFailed, this, &DisplayWindow::reportCountFailure);
    setFocusProxy(count_);
    connect(count_, &CountWidget::switchRequested, this, &DisplayWindow::switchRequested);
    // The window jumps once, at release, by the distance the pointer
    // travelled.
    connect(count_, &CountWidget::dragged, this, &DisplayWindow::moveOuterBy);
    // A screen unplugged or made smaller must not take the count with it.
    connect(&services_.screens, &Screens::changed, this, [this] {
        if (!isVisible())
            return; // placed when it is shown
        const QRect outer = outerGeometry(), there = placed(outer);
        if (there != outer)
            setOuter(there);
    });
    settleTimer_.setInterval(50);
    connect(&settleTimer_, &QTimer::timeout, this, [this] {
        applyWanted();
        if (settleUntil_.hasExpired()) {
            settleTimer_.stop();
            wantedOuter_.reset();
        }
    });
}

void DisplayWindow::placeBuiltIn(const QRectF &client, int above) {
    // The window's minimum size holds from now on (the menu bar included).
    layout()->activate();
    setGeometry(twipsToPixels(client, logicalDpiX(), logicalDpiY()).adjusted(0, 0, 0, above));
}

QString DisplayWindow::openingCaption() const {
    return secondsToCaption(state_.baseTime().value(),
                            QStringLiteral("dd/mm/yyyy, HH:MM:SS AM/PM"));
}

void DisplayWindow::reportCountFailure(const RunError &error) {
    // One box: the ticks and resizes its own event loop lets through draw
    // nothing more, and whatever the answer the program ends right after,
    // saving nothing.
    if (services_.programEnd.isEnding())
        return;
    services_.programEnd.beginEnding();
    services_.dialogs.message(error.text(RunError::Spelling::Error) + QStringLiteral("\nKIll ME ?"),
                              Dialogs::Buttons::YesNo, Dialogs::Icon::Question, kDrawingBox);
    services_.programEnd.endNow();
}

void DisplayWindow::finishLoading() {
    layout()->activate();
    count_->drawCount();
    count_->setAccessibleName(windowTitle().isEmpty() ? openingCaption() : windowTitle());
}

void DisplayWindow::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    // Screen readers name the count by the caption, whoever sets it.
    if (event->type() == QEvent::WindowTitleChange)
        count_->setAccessibleName(windowTitle());
}

void DisplayWindow::closeEvent(QCloseEvent *event) {
    // Never refused. Once the program is ending nothing more is written.
    if (!services_.programEnd.isEnding())
        emit closing();
    event->accept();
}

void DisplayWindow::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    // The window manager frames the window now: the wanted place and size
    // are applied again as the frame becomes known.
    if (wantedOuter_)
        setOuter(*wantedOuter_);
}

QMargins DisplayWindow::frameMargins() const {
    const QWindow *w = windowHandle();
    return w ? w->frameMargins() : QMargins();
}

QSize DisplayWindow::atLeastMinimum(QSize outer) const {
    return outer.expandedTo(QRect(QPoint(), minimumSize()).marginsAdded(frameMargins()).size());
}

QRect DisplayWindow::placed(const QRect &outer) const {
    // What must stay in reach is the count area, with the menu bar above it
    // and the caption that drags the window; only the frame's borders may
    // hang off an edge.
    const QMargins m = frameMargins();
    const QMargins inset(m.left(), 0, m.right(), m.bottom());
    return placeOnScreens(QRect(outer.topLeft(), atLeastMinimum(outer.size())), inset,
                          services_.screens.geometries());
}

QRect DisplayWindow::outerGeometry() const {
    if (wantedOuter_)
        return QRect(wantedOuter_->topLeft(), atLeastMinimum(wantedOuter_->size()));
    return frameGeometry();
}

QRectF DisplayWindow::outerTwips() const {
    const QRect outer = outerGeometry();
    return QRectF(
        pixelsToTwips(outer.left(), logicalDpiX()), pixelsToTwips(outer.top(), logicalDpiY()),
        pixelsToTwips(outer.width(), logicalDpiX()), pixelsToTwips(outer.height(), logicalDpiY()));
}

void DisplayWindow::setOuterTwips(const QRectF &twips) {
    setOuter(placed(twipsToPixels(twips, logicalDpiX(), logicalDpiY())));
}

void DisplayWindow::moveOuterBy(QPointF travel) {
    const QRect to = twipsToPixels(outerTwips().translated(travel), logicalDpiX(), logicalDpiY());
    setOuter(QRect(to.topLeft(), outerGeometry().size()));
}

void DisplayWindow::setOuter(const QRect &outer) {
    wantedOuter_ = outer;
    applyWanted();
    if (isVisible()) {
        settleUntil_.setRemainingTime(kSettleTime);
        settleTimer_.start();
    }
}

void DisplayWindow::applyWanted() {
    if (!wantedOuter_)
        return;
    const QRect outer = outerGeometry();
    const QMargins m = frameMargins();
    const QSize client(outer.width() - m.left() - m.right(), outer.height() - m.top() - m.bottom());
    if (size() != client)
        resize(client);
    // Some window managers land a new frame off the place asked for (IceWM
    // by its border): moved back once the frame is known.
    if (frameGeometry().topLeft() != outer.topLeft())
        move(outer.topLeft());
}

} // namespace quennix
