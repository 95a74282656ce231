// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QRect>
#include <QVector>

namespace quennix {

// The screens of the desktop, in logical pixels.
class Screens : public QObject {
    Q_OBJECT
public:
    // The area of each screen windows may take: less the panels and docks
    // the desktop keeps to itself. The primary screen's comes first.
    virtual QVector<QRect> geometries() const = 0;
    // The geometry of the primary screen.
    virtual QRect primary() const = 0;

signals:
    // A screen came or went, or changed its size, place or panels.
    void changed();
};

} // namespace quennix
