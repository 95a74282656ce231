// SPDX-License-Identifier: MIT
#include "system_screens.h"

#include <QGuiApplication>
#include <QScreen>

namespace quennix {

SystemScreens::SystemScreens() {
    for (QScreen *s : QGuiApplication::screens())
        watch(s);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen *s) {
        watch(s);
        emit changed();
    });
    // Emitted before the screen goes from the list: the change is told once
    // the list no longer holds it.
    connect(qApp, &QGuiApplication::screenRemoved, this, &Screens::changed, Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &Screens::changed);
}

void SystemScreens::watch(QScreen *screen) {
    connect(screen, &QScreen::availableGeometryChanged, this, &Screens::changed);
}

QVector<QRect> SystemScreens::geometries() const {
    QVector<QRect> out;
    for (const QScreen *s : QGuiApplication::screens())
        out << s->availableGeometry();
    return out;
}

QRect SystemScreens::primary() const {
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect();
}

} // namespace quennix
