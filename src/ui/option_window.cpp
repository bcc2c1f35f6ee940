// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/option_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/qt_bridge.h"

namespace lumiere::ui {

void follow(QLineEdit* box, const std::string& text) {
    const QString wanted = toQString(text);
    if (box->text() != wanted) box->setText(wanted);
}

void layOutOptionDialog(QWidget* dialog, QLayout* controls, QLabel* state, QLabel* message,
                        QPushButton* close, QPushButton* save) {
    for (QLabel* line : {state, message}) line->setWordWrap(true);
    for (QPushButton* button : {close, save}) button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(save);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(controls);
    layout->addWidget(state);
    layout->addWidget(message);
    layout->addLayout(buttons);
}

void showOver(QWidget* dialog) {
    if (!dialog->isVisible()) {
        if (const QWidget* owner = dialog->parentWidget()) {
            const QRect area = owner->window()->geometry();
            dialog->adjustSize();
            dialog->move(area.center() - dialog->rect().center());
        }
        dialog->show();
    }
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace lumiere::ui
