// SPDX-License-Identifier: MIT
#include "system_dialogs.h"

#include <QApplication>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace quennix {

namespace {

// Boxes stay above the always-on-top display window: they belong to it.
QWidget *owner() {
    return QApplication::activeWindow();
}

} // namespace

void SystemDialogs::message(const QString &text, Buttons buttons, Icon icon, const QString &title) {
    QMessageBox box(
        icon == Icon::Question ? QMessageBox::Question : QMessageBox::NoIcon, title, text,
        buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

QString SystemDialogs::input(const QString &prompt, const QString &title) {
    QInputDialog box(owner());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(QString());
    if (box.exec() != QDialog::Accepted)
        return {};
    return box.textValue();
}

std::optional<Dialogs::FontChoice> SystemDialogs::font(const FontChoice &initial) {
    QFont start;
    if (!initial.face.isEmpty())
        start.setFamily(initial.face);
    start.setBold(initial.bold);
    start.setItalic(initial.italic);
    start.setPointSizeF(initial.size); // the count's, on screen: fitted, above 0
    QFontDialog box(start, owner());
    box.setOption(QFontDialog::DontUseNativeDialog);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont chosen = box.selectedFont();
    FontChoice out;
    out.face = chosen.family();
    out.bold = chosen.bold();
    out.italic = chosen.italic();
    return out;
}

} // namespace quennix
