#include "display_window.h"

#include "countdown/formats.h"
#include "countdown/number_text.h"
#include "startup/shutdown.h"
#include "window_switcher.h"

#include <QWindow>

namespace quennix {

namespace {

// How long after showing the window the frame may still change under it, in
// checks of 50 ms: window managers frame a new window within a few frames.
constexpr int kSettleChecks = 20;

} // namespace

DisplayWindow::DisplayWindow(QWidget &self, AppState &state, Services &services,
                             WindowSwitcher &switcher)
    : state_(state), services_(services), switcher_(switcher), self_(self) {
    settleTimer_.setInterval(50);
    QObject::connect(&settleTimer_, &QTimer::timeout, [this] {
        applyWantedSize();
        if (++settleChecks_ >= kSettleChecks) {
            settleTimer_.stop();
            wantedOuterSize_.reset();
        }
    });
}

DisplayWindow::~DisplayWindow() = default;

CountSurface *DisplayWindow::createSurface(QWidget *parent) {
    surface_ = new CountSurface(state_, services_, *this, parent);
    return surface_;
}

void DisplayWindow::runLoad(const QString &name, const std::function<void()> &steps) {
    dragActive_ = 0;
    try {
        steps();
    } catch (const RunError &e) {
        services_.dialogs.message(e.errorTextSigned(), Dialogs::Buttons::Ok, Dialogs::Icon::None,
                                  name + QStringLiteral("_Load"));
    }
}

double DisplayWindow::dpiX() const {
    return self_.logicalDpiX();
}
double DisplayWindow::dpiY() const {
    return self_.logicalDpiY();
}

QMargins DisplayWindow::frameMargins() const {
    const QWindow *w = self_.windowHandle();
    return w ? w->frameMargins() : QMargins();
}

QSize DisplayWindow::wantedOuterSize() const {
    const QMargins m = frameMargins();
    const QSize least = self_.minimumSize() + QSize(m.left() + m.right(), m.top() + m.bottom());
    return wantedOuterSize_->expandedTo(least);
}

QRect DisplayWindow::outerGeometry() const {
    QRect outer = self_.frameGeometry();
    if (wantedOuterSize_)
        outer.setSize(wantedOuterSize());
    return outer;
}

double DisplayWindow::top() const {
    return pixelsToTwips(outerGeometry().top(), dpiY());
}
double DisplayWindow::left() const {
    return pixelsToTwips(outerGeometry().left(), dpiX());
}
double DisplayWindow::height() const {
    return pixelsToTwips(outerGeometry().height(), dpiY());
}
double DisplayWindow::width() const {
    return pixelsToTwips(outerGeometry().width(), dpiX());
}

void DisplayWindow::setTop(double twips) {
    self_.move(self_.pos().x(), qRound(twipsToPixels(twips, dpiY())));
}

void DisplayWindow::setLeft(double twips) {
    self_.move(qRound(twipsToPixels(twips, dpiX())), self_.pos().y());
}

void DisplayWindow::setHeight(double twips) {
    wantedOuterSize_ = QSize(outerGeometry().width(), qRound(twipsToPixels(twips, dpiY())));
    applyWantedSize();
}

void DisplayWindow::setWidth(double twips) {
    wantedOuterSize_ = QSize(qRound(twipsToPixels(twips, dpiX())), outerGeometry().height());
    applyWantedSize();
}

void DisplayWindow::applyWantedSize() {
    if (!wantedOuterSize_)
        return;
    const QMargins m = frameMargins();
    const QSize outer = wantedOuterSize();
    const QSize client(outer.width() - m.left() - m.right(), outer.height() - m.top() - m.bottom());
    if (self_.size() != client)
        self_.resize(client);
}

void DisplayWindow::frameMayHaveChanged() {
    if (!wantedOuterSize_ || settleTimer_.isActive())
        return;
    applyWantedSize();
    settleChecks_ = 0;
    settleTimer_.start();
}

QString DisplayWindow::loadCaption() const {
    return QStringLiteral("Seconds to ") +
           formatDate(state_.baseTime.value(), QStringLiteral("dd/mm/yyyy, HH:MM:SS AM/PM"));
}

WindowSettings DisplayWindow::settings() const {
    WindowSettings s;
    s.top = top();
    s.left = left();
    s.height = height();
    s.width = width();
    s.fontBold = fontBold();
    s.fontItalic = fontItalic();
    s.tag = tag();
    return s;
}

void DisplayWindow::Form_MouseDown(int button, double x, double y) {
    if (button != 1)
        return;
    dragActive_ = -1;
    dragStartX_ = dragLastX_ = wholeNumber(x);
    dragStartY_ = dragLastY_ = wholeNumber(y);
}

void DisplayWindow::Form_MouseMove(int buttons, double x, double y) {
    if (buttons != 1 || !dragActive_)
        return;
    dragLastX_ = wholeNumber(x);
    dragLastY_ = wholeNumber(y);
}

void DisplayWindow::Form_MouseUp(int, double, double) {
    if (!dragActive_)
        return;
    setLeft(left() - float(qint64(dragStartX_) - dragLastX_));
    setTop(top() - float(qint64(dragStartY_) - dragLastY_));
    dragActive_ = 0;
}

void DisplayWindow::Form_DblClick() {
    dragActive_ = 0;
    switcher_.switchFrom(*this);
}

void DisplayWindow::Form_QueryUnload() {
    // After the program was told to end at once nothing more is written.
    if (services_.programEnd.isEnding())
        return;
    Shutdown(settings(), state_, services_.dialogs);
}

} // namespace quennix
