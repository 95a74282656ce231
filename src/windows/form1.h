#pragma once

#include "display_window.h"

#include <QWidget>

namespace quennix {

// The title-less display window: no frame, no caption, only the count. It is
// moved by dragging the count itself.
class Form1 : public QWidget, public DisplayWindow {
    Q_OBJECT
public:
    Form1(AppState &state, Services &services, WindowSwitcher &switcher);

    QString tag() const override { return QStringLiteral("1"); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
};

} // namespace quennix
