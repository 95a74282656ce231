// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace quennix {

// The message, input and font boxes the program asks the user with. The real
// ones are modal Qt dialogs; tests script the answers.
class Dialogs {
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Question };

    struct FontChoice {
        QString face;
        bool bold{};
        bool italic{};
        double size{}; // points, offered to the dialog; never read back
    };

    virtual ~Dialogs() = default;

    // Every box is titled; whatever button closes it, the program goes on
    // the same way.
    virtual void message(const QString &text, Buttons buttons, Icon icon, const QString &title) = 0;
    // A box with only an OK button and no icon.
    void tell(const QString &text, const QString &title) {
        message(text, Buttons::Ok, Icon::None, title);
    }
    // The typed text, or an empty text when cancelled.
    virtual QString input(const QString &prompt, const QString &title) = 0;
    // The face, bold and italic chosen, or nothing when cancelled.
    virtual std::optional<FontChoice> font(const FontChoice &initial) = 0;
};

// The application's own title, used by boxes that have no title of their own.
inline QString applicationTitle() {
    return QStringLiteral("Quennix");
}

} // namespace quennix
