// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the option dialogs share: a box follows the model's text unless the user is typing it, a
// message shows in red when it is a refusal.

#include <string>

class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace lumiere::ui {

// Sets the box to `text` when it shows something else.
void follow(QLineEdit* box, const std::string& text);

// Shows the dialog centred over its parent window the first time, and raises it.
void showOver(QWidget* dialog);

// The option dialogs' layout: their own controls, a state line and a message line that wrap,
// then "Fermer" and "Enregistrer" at the bottom right; neither button answers Enter by itself.
void layOutOptionDialog(QWidget* dialog, QLayout* controls, QLabel* state, QLabel* message,
                        QPushButton* close, QPushButton* save);

}  // namespace lumiere::ui
