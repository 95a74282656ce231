#include "form1.h"

#include "clock_icon.h"
#include "countdown/count_drawing.h"
#include "countdown/font_measurer.h"
#include "countdown/run_error.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace quennix {

Form1::Form1(AppState &state, Services &services, WindowSwitcher &switcher)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      DisplayWindow(*this, state, services, switcher) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(clockIcon());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(createSurface(this));
    layout->activate(); // the window's minimum size holds from now on
    // Built-in place and size of the drawing area, in twips.
    setGeometry(
        qRound(twipsToPixels(1920, logicalDpiX())), qRound(twipsToPixels(1608, logicalDpiY())),
        qRound(twipsToPixels(2412, logicalDpiX())), qRound(twipsToPixels(1068, logicalDpiY())));
    Form_Load();
}

void Form1::Form_Load() {
    runLoad(QStringLiteral("Form1"), [this] {
        // Kept above other windows by the stay-on-top flag set at creation.
        Display_Time(surface(), state_, services_);
    });
    // No caption here, but screen readers name the count as the framed window
    // would. A base time that is not a date has been reported by the drawing.
    try {
        surface().setAccessibleName(loadCaption());
    } catch (const RunError &) {
        surface().setAccessibleName(applicationTitle());
    }
}

void Form1::closeEvent(QCloseEvent *event) {
    Form_QueryUnload();
    event->accept();
}

void Form1::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    frameMayHaveChanged();
}

} // namespace quennix
