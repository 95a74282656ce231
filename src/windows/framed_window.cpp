// SPDX-License-Identifier: MIT
#include "framed_window.h"

#include "about_dialog.h"
#include "commands/menu_commands.h"

#include <QEvent>
#include <QMenuBar>

namespace quennix {

FramedWindow::FramedWindow(AppState &state, Services &services)
    // A caption but no close, minimise or maximise buttons.
    : DisplayWindow(kMode, state, services, Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      state_(state), services_(services) {
    setWindowTitle(applicationTitle());
    setupMenu();
    placeBuiltIn(QRectF(1920, 3420, 2388, 756), menuBar()->sizeHint().height());
    count().drawCount();
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
            [this] { askTimeAt(services_.dialogs, services_.zone); });
    connect(stuff->addAction(QStringLiteral("Seconds at")), &QAction::triggered, this,
            [this] { askSecondsAt(services_.dialogs, services_.zone); });
    // The caption follows at once; the count at the next second.
    connect(stuff->addAction(QStringLiteral("Base Time")), &QAction::triggered, this, [this] {
        if (const auto caption = askBaseTime(state_, services_))
            setWindowTitle(*caption);
    });

    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    connect(help->addAction(QStringLiteral("About")), &QAction::triggered, this,
            &FramedWindow::showAbout);
}

void FramedWindow::chooseFont() {
    // The size is never the dialog's: the font is fitted to the window again,
    // also after a cancel.
    const Dialogs::FontChoice chosen =
        askFont(state_, {count().faceName(), count().bold(), count().italic(), count().fontSize()},
                services_.dialogs);
    count().setFace(state_.fontName, chosen.bold, chosen.italic);
}

void FramedWindow::showAbout() {
    // The count window steps aside while the About window is up.
    setVisible(false);
    AboutDialog about(services_.screens, this);
    about.exec();
    setVisible(true);
}

void FramedWindow::changeEvent(QEvent *event) {
    DisplayWindow::changeEvent(event);
    // Screen readers name the count by the caption, whoever sets it.
    if (event->type() == QEvent::WindowTitleChange)
        count().setAccessibleName(windowTitle());
}

} // namespace quennix
