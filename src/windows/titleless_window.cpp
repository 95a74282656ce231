#include "titleless_window.h"

namespace quennix {

TitlelessWindow::TitlelessWindow(AppState &state, Services &services)
    : DisplayWindow(WindowKind::Titleless, state, services, Qt::FramelessWindowHint) {
    placeBuiltIn(QRectF(1920, 1608, 2412, 1068), 0);
    runOpeningSteps(QStringLiteral("Form1_Load"), [this] {
        count().drawCount();
        // No caption here, but screen readers name the count as the framed
        // window would.
        count().setAccessibleName(openingCaption());
    });
}

} // namespace quennix
