// SPDX-License-Identifier: MIT
#include "display_window.h"

#include "clock_icon.h"
#include "countdown/formats.h"
#include "countdown/twips.h"
#include "platform/screen_placement.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QLayout>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QWindow>

namespace quennix {

namespace {

// How long after a show the window manager's first report of the frame is
// waited for (they answer within a tenth of a second, more on a busy
// machine); a window manager that sends none lands frames where asked.
constexpr int kLandingWait = 3000;

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
    landingWait_.setSingleShot(true);
    landingWait_.setInterval(kLandingWait);
    connect(&landingWait_, &QTimer::timeout, this, [this] {
        landed_ = true;
        wantedOuter_.reset();
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
    if (event->spontaneous())
        return; // a window manager's restore, not a show of ours
    // Placed on the screens as they are now, whatever changed while the
    // window was hidden, and its landing awaited.
    landed_ = false;
    landingWait_.start();
    const QRect outer = outerGeometry(), there = placed(outer);
    if (wantedOuter_ || there != outer)
        setOuter(there);
}

void DisplayWindow::hideEvent(QHideEvent *event) {
    QMainWindow::hideEvent(event);
    // Hidden by the program (while About is up): shown again where it was.
    if (!event->spontaneous() && landed_) {
        wantedOuter_ = frameGeometry();
        lastFrame_ = frameMargins();
    }
    landed_ = false;
    landingWait_.stop();
}

void DisplayWindow::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    if (event->spontaneous() && !landed_ && isVisible())
        reportLanding();
}

void DisplayWindow::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    if (event->spontaneous() && !landed_ && isVisible())
        reportLanding();
}

void DisplayWindow::reportLanding() {
    const QMargins m = frameMargins();
    // A frame not yet known: the report of a framed window is still to come.
    if (m.isNull() && !windowFlags().testFlag(Qt::FramelessWindowHint))
        return;
    landed_ = true;
    landingWait_.stop();
    const std::optional<QRect> wanted = std::exchange(wantedOuter_, std::nullopt);
    if (!wanted)
        return;
    // Only what the frame explains is corrected: each edge off by no more
    // than the frame's width there. A tile, a place the user or the window
    // manager chose, and a maximised window (xfwm4 maximises one that asks
    // for the whole work area before its frame is known) stand.
    const QRect f = frameGeometry();
    const auto within = [](int a, int b, int slack) { return qAbs(a - b) <= slack; };
    if ((windowState() & Qt::WindowMaximized) ||
        !within(f.left(), wanted->left(), qMax(m.left(), m.right())) ||
        !within(f.top(), wanted->top(), qMax(m.top(), m.bottom())) ||
        !within(f.width(), wanted->width(), m.left() + m.right()) ||
        !within(f.height(), wanted->height(), m.top() + m.bottom()))
        return;
    setOuter(*wanted);
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
    // Until the frame has landed, where it is going.
    return wantedOuter_ ? *wantedOuter_ : frameGeometry();
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
    const QRect whole(outer.topLeft(), atLeastMinimum(outer.size()));
    if (!landed_)
        wantedOuter_ = whole;
    // A window shown again has no frame until the window manager frames it
    // anew: the one it had is the best guess.
    const QMargins known = frameMargins(), frame = known.isNull() ? lastFrame_ : known;
    const QRect client(whole.topLeft() + QPoint(frame.left(), frame.top()),
                       whole.size().shrunkBy(frame));
    // A window on the screen is asked through its native window, so the
    // widget follows only what the window manager grants: one that refuses
    // (a tiling one) leaves Qt's idea of the window and the real one the same.
    if (windowHandle() && windowHandle()->isExposed()) {
        if (client != geometry())
            windowHandle()->setGeometry(client);
        return;
    }
    resize(client.size());
    move(whole.topLeft());
}

} // namespace quennix
