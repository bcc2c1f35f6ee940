// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look.h"

#include <QApplication>
#include <QFont>

namespace lumiere::ui {

void applyLook() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    QApplication::setFont(font);
}

}  // namespace lumiere::ui
