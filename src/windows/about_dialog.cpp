// SPDX-License-Identifier: MIT
#include "about_dialog.h"

#include "countdown/twips.h"
#include "platform/screens.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace quennix {

AboutDialog::AboutDialog(const Screens &screens, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("QUENNIX"));
    setBackgroundRole(QPalette::Window);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(7.8);
    font.setBold(true);
    setFont(font);

    // The built-in layout, in twips.
    const auto pixels = [this](double left, double top, double width, double height) {
        return twipsToPixels(QRectF(left, top, width, height), logicalDpiX(), logicalDpiY());
    };
    const QSize client(qRound(twipsToPixels(2484, logicalDpiX())),
                       qRound(twipsToPixels(2112, logicalDpiY())));
    setFixedSize(client);

    struct Line {
        const char *text;
        double top;
    };
    for (const Line &line :
         {Line{"QUENNIX", 120}, Line{"Version " QUENNIX_VERSION "   32bit", 1080},
          Line{"13/06/1998", 1320}}) {
        auto *label = new QLabel(QString::fromLatin1(line.text), this);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(pixels(0, line.top, 2535, 255));
    }

    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setGeometry(pixels(840, 1680, 855, 375));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Centred by its client size, not its outer size.
    move(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screens.primary()).topLeft());
}

void AboutDialog::keyPressEvent(QKeyEvent *event) {
    // A dialog takes Escape as Cancel; this one has nothing to cancel.
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

} // namespace quennix
