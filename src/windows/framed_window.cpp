// SPDX-License-Identifier: MIT
#include "framed_window.h"

#include "about_dialog.h"
#include "commands/menu_commands.h"

#include <QMenuBar>

namespace quennix {

FramedWindow::FramedWindow(AppState &state, Services &services)
    // A caption, and no minimise or maximise buttons. Closing is allowed:
    // window managers that follow the hints (kwin, metacity, IceWM) would
    // otherwise refuse Alt+F4 and their own Close, and some draw a close box.
    : DisplayWindow(kMode, state, services,
                    Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setupMenu();
    placeBuiltIn(QRectF(1920, 3420, 2388, 756), menuBar()->sizeHint().height());
    setWindowTitle(openingCaption());
}

void FramedWindow::setupMenu() {
    QMenuBar *bar = menuBar();
    bar->setNativeMenuBar(false);

    QMenu *file = bar->addMenu(QStringLiteral("File"));
    // File > No Title is the double-click, exactly.
    connect(file->addAction(QStringLiteral("No Title")), &QAction::triggered, this,
            &DisplayWindow::switchRequested);
    connect(file->addAction(QStringLiteral("Font")), &QAction::triggered, this,
            &FramedWindow::chooseFont);
    connect(file->addAction(QStringLiteral("Exit")), &QAction::triggered, this,
            &DisplayWindow::exitRequested);

    QMenu *stuff = bar->addMenu(QStringLiteral("Stuff"));
    connect(stuff->addAction(QStringLiteral("Time at")), &QAction::triggered, this,
            [this] { askTimeAt(services().dialogs, services().zone); });
    connect(stuff->addAction(QStringLiteral("Seconds at")), &QAction::triggered, this,
            [this] { askSecondsAt(services().dialogs, services().zone); });
    // The caption follows at once; the count at the next second.
    connect(stuff->addAction(QStringLiteral("Base Time")), &QAction::triggered, this, [this] {
        if (const auto caption = askBaseTime(state(), services()))
            setWindowTitle(*caption);
    });

    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    connect(help->addAction(QStringLiteral("About")), &QAction::triggered, this,
            &FramedWindow::showAbout);
}

void FramedWindow::chooseFont() {
    // The size is never the dialog's: the count is fitted to the window in
    // the face chosen (the shared face, which the count follows by itself,
    // and this window's bold and italic).
    const Dialogs::FontChoice chosen = askFont(state(),
                                               {countWidget().faceName(), countWidget().bold(),
                                                countWidget().italic(), countWidget().fontSize()},
                                               services().dialogs);
    countWidget().setStyle(chosen.bold, chosen.italic);
}

void FramedWindow::showAbout() {
    // The count window steps aside while the About window is up.
    setVisible(false);
    AboutDialog about(services().screens, this);
    about.exec();
    setVisible(true);
}

} // namespace quennix
