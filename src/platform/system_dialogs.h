// SPDX-License-Identifier: MIT
#pragma once

#include "dialogs.h"

namespace quennix {

// The boxes as modal Qt dialogs over the active window.
class SystemDialogs : public Dialogs {
public:
    void message(const QString &text, Buttons buttons, Icon icon, const QString &title) override;
    QString input(const QString &prompt, const QString &title) override;
    std::optional<FontChoice> font(const FontChoice &initial) override;
};

} // namespace quennix
