#pragma once

#include "display_window.h"

#include <QMainWindow>

class QAction;

namespace quennix {

// The framed display window: a caption naming the base time, and the menu bar
// with the program's commands. The count fills the area below the menu bar.
class Form2 : public QMainWindow, public DisplayWindow {
    Q_OBJECT
public:
    Form2(AppState &state, Services &services, WindowSwitcher &switcher);

    QString tag() const override { return QStringLiteral("2"); }

    // Menu items, for the commands to attach to.
    QAction *MNoTitle = nullptr;
    QAction *MFont = nullptr;
    QAction *MExit = nullptr;
    QAction *MTimeAt = nullptr;
    QAction *MSecondsat = nullptr;
    QAction *MBase_Time = nullptr;
    QAction *MAbout = nullptr;

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenus();
    void Form_Load();
};

} // namespace quennix
