#include "form2.h"

#include "clock_icon.h"
#include "countdown/count_drawing.h"
#include "countdown/font_measurer.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>

namespace quennix {

Form2::Form2(AppState &state, Services &services, WindowSwitcher &switcher)
    // A caption but no close, minimise or maximise buttons.
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowStaysOnTopHint),
      DisplayWindow(*this, state, services, switcher) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(clockIcon());
    setWindowTitle(QStringLiteral("Quennix"));
    buildMenus();
    setCentralWidget(createSurface(this));
    layout()->activate(); // the window's minimum size holds from now on
    surface().setAccessibleName(windowTitle());
    // Built-in place and size of the drawing area, in twips; the menu bar sits
    // above it.
    const int menuHeight = menuBar()->sizeHint().height();
    setGeometry(qRound(twipsToPixels(1920, logicalDpiX())),
                qRound(twipsToPixels(3420, logicalDpiY())),
                qRound(twipsToPixels(2388, logicalDpiX())),
                qRound(twipsToPixels(756, logicalDpiY())) + menuHeight);
    Form_Load();
}

void Form2::buildMenus() {
    QMenuBar *bar = menuBar();
    bar->setNativeMenuBar(false);
    QMenu *file = bar->addMenu(QStringLiteral("File"));
    MNoTitle = file->addAction(QStringLiteral("No Title"));
    MFont = file->addAction(QStringLiteral("Font"));
    MExit = file->addAction(QStringLiteral("Exit"));
    QMenu *stuff = bar->addMenu(QStringLiteral("Stuff"));
    MTimeAt = stuff->addAction(QStringLiteral("Time at"));
    MSecondsat = stuff->addAction(QStringLiteral("Seconds at"));
    MBase_Time = stuff->addAction(QStringLiteral("Base Time"));
    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    MAbout = help->addAction(QStringLiteral("About"));
    file->setObjectName(QStringLiteral("MMFile"));
    stuff->setObjectName(QStringLiteral("MMStuff"));
    help->setObjectName(QStringLiteral("MMHelp"));
    // File > No Title is the double-click, exactly.
    connect(MNoTitle, &QAction::triggered, this, [this] { Form_DblClick(); });
}

void Form2::Form_Load() {
    runLoad(QStringLiteral("Form2"), [this] {
        Display_Time(surface(), state_, services_);
        // Kept above other windows by the stay-on-top flag set at creation.
        setWindowTitle(loadCaption());
    });
}

void Form2::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    // The count is named by the caption, whoever sets it (Stuff > Base Time
    // too). The caption is first set before the surface exists.
    if (event->type() == QEvent::WindowTitleChange && centralWidget())
        surface().setAccessibleName(windowTitle());
}

void Form2::closeEvent(QCloseEvent *event) {
    Form_QueryUnload();
    event->accept();
}

void Form2::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    frameMayHaveChanged();
}

} // namespace quennix
