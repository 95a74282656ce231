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

DisplayWindow::DisplayWindow(qint32 mode, const AppState &state, Services &services,
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
    connect(count_, &CountWidget::dragged, this, [this](QPoint travel) {
        // The window jumps once, at release, by the distance the pointer
        // travelled.
        setOuterTwips(outerTwips().translated(travel));
    });
    settleTimer_.setInterval(50);
    connect(&settleTimer_, &QTimer::timeout, this, [this] {
        applyWantedSize();
        if (settleUntil_.hasExpired()) {
            settleTimer_.stop();
            wantedOuterSize_.reset();
        }
    });
}

void DisplayWindow::placeBuiltIn(const QRectF &client, int above) {
    // The window's minimum size holds from now on (the menu bar included).
    layout()->activate();
    setGeometry(twipsToPixels(client, logicalDpiX(), logicalDpiY()).adjusted(0, 0, 0, above));
}

QString DisplayWindow::openingCaption() const {
    return secondsToCaption(state_.baseTime.value(), QStringLiteral("dd/mm/yyyy, HH:MM:SS AM/PM"));
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

void DisplayWindow::closeEvent(QCloseEvent *event) {
    // Never refused. Once the program is ending nothing more is written.
    if (!services_.programEnd.isEnding())
        emit closing();
    event->accept();
}

void DisplayWindow::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    // The window manager frames the window now: the wanted outer size is
    // applied again as the frame becomes known (shown again while settling,
    // it settles a little longer).
    if (wantedOuterSize_) {
        applyWantedSize();
        settleUntil_.setRemainingTime(kSettleTime);
        settleTimer_.start();
    }
}

QMargins DisplayWindow::frameMargins() const {
    const QWindow *w = windowHandle();
    return w ? w->frameMargins() : QMargins();
}

QSize DisplayWindow::wantedOuterSize() const {
    const QRect least = QRect(QPoint(), minimumSize()).marginsAdded(frameMargins());
    return wantedOuterSize_->expandedTo(least.size());
}

QRect DisplayWindow::outerGeometry() const {
    QRect outer = frameGeometry();
    if (wantedOuterSize_)
        outer.setSize(wantedOuterSize());
    return outer;
}

QRectF DisplayWindow::outerTwips() const {
    const QRect outer = outerGeometry();
    return QRectF(
        pixelsToTwips(outer.left(), logicalDpiX()), pixelsToTwips(outer.top(), logicalDpiY()),
        pixelsToTwips(outer.width(), logicalDpiX()), pixelsToTwips(outer.height(), logicalDpiY()));
}

void DisplayWindow::setOuterTwips(const QRectF &twips) {
    const QRect wanted = twipsToPixels(twips, logicalDpiX(), logicalDpiY());
    wantedOuterSize_ = wanted.size();
    const QRect placed =
        placeOnScreens(QRect(wanted.topLeft(), wantedOuterSize()), services_.screens.geometries());
    wantedOuterSize_ = placed.size();
    move(placed.topLeft());
    applyWantedSize();
}

void DisplayWindow::applyWantedSize() {
    if (!wantedOuterSize_)
        return;
    const QMargins m = frameMargins();
    const QSize outer = wantedOuterSize();
    const QSize client(outer.width() - m.left() - m.right(), outer.height() - m.top() - m.bottom());
    if (size() != client)
        resize(client);
}

} // namespace quennix
