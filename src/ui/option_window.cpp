// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/option_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_bridge.h"

namespace lumiere::ui {

OptionWindow::OptionWindow(const QString& title, QWidget* parent, Qt::WindowFlags kind)
    : QWidget(parent, kind | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(title);
}

void OptionWindow::followVisible(bool visible) {
    if (visible && !isVisible()) {
        if (const QWidget* owner = parentWidget()) {
            const QRect area = owner->window()->geometry();
            adjustSize();
            move(area.center() - rect().center());
        }
        show();
        raise();
        activateWindow();
    }
    if (!visible && isVisible()) hide();
}

void OptionWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // the model decides: the close box is "Fermer"
    closeClicked();
}

void OptionWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return closeClicked();  // as "Fermer"
    QWidget::keyPressEvent(event);
}

std::vector<OptionFactory> optionFactories(const std::vector<OptionModule>& modules) {
    std::vector<OptionFactory> factories;
    for (const OptionModule& module : modules) factories.push_back(module.makeOption);
    return factories;
}

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

}  // namespace lumiere::ui
