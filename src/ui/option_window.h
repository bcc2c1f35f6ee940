#pragma once
// What the option dialogs share: a box follows the model's text unless the user is typing it, a
// message shows in red when it is a refusal.

#include <string>

class QLabel;
class QLineEdit;
class QWidget;

namespace lumiere::ui {

// Sets the box to `text` when it shows something else.
void follow(QLineEdit* box, const std::string& text);

// Shows the dialog centred over its parent window the first time, and raises it.
void showOver(QWidget* dialog);

}  // namespace lumiere::ui
