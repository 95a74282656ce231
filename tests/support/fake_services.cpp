#include "fake_services.h"

namespace quennix::test {

Dialogs::Answer FakeDialogs::message(const QString &text, Buttons buttons, Icon icon,
                                     const QString &title) {
    shown.push_back({QStringLiteral("message"), text, title, buttons, icon, {}});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return messageAnswer;
}

QString FakeDialogs::input(const QString &prompt, const QString &title) {
    shown.push_back({QStringLiteral("input"), prompt, title, Buttons::Ok, Icon::None, {}});
    if (inputAnswers.empty())
        return {};
    QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

std::optional<Dialogs::FontChoice> FakeDialogs::font(const FontChoice &initial) {
    shown.push_back({QStringLiteral("font"), {}, {}, Buttons::Ok, Icon::None, initial});
    if (fontAnswers.empty())
        return std::nullopt;
    // Taken apart rather than copied whole: GCC 12 misreads a copied
    // optional of a struct holding a QString as maybe uninitialised.
    const bool cancelled = !fontAnswers.front().has_value();
    const FontChoice chosen = fontAnswers.front().value_or(FontChoice{});
    fontAnswers.pop_front();
    if (cancelled)
        return std::nullopt;
    return chosen;
}

QStringList FakeDialogs::messages() const {
    QStringList out;
    for (const auto &s : shown)
        if (s.kind == QLatin1String("message"))
            out << s.title + QLatin1Char('|') + s.text;
    return out;
}

} // namespace quennix::test
