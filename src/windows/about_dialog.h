// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

namespace quennix {

class Screens;

// The About window: the program's name, version and date, and an "Ok" button
// that Enter presses, the only way to close it (Escape does not). No close,
// minimise or maximise buttons. It centres its
// client area on the screen (so the frame sits slightly right of and below the
// exact centre).
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const Screens &screens, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace quennix
