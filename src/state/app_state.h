// SPDX-License-Identifier: MIT
#pragma once

#include "base_time.h"

#include <QString>

namespace quennix {

// The program-wide state both display windows share: what the count runs to
// and the face it is drawn in. Start-up, the commands and the switch set it;
// the windows read it. main() owns one; tests make their own.
class AppState {
public:
    const BaseTime &baseTime() const { return baseTime_; }
    // A base time is made only by BaseTime's own door.
    void setBaseTime(const BaseTime &time) { baseTime_ = time; }

    // The face chosen by the user; empty until the settings file or the Font
    // command sets it (an empty face keeps the built-in face).
    const QString &fontName() const { return fontName_; }
    void setFontName(const QString &name) { fontName_ = name; }

private:
    BaseTime baseTime_;
    QString fontName_;
};

} // namespace quennix
