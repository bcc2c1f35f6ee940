// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings dialog `Form2`, not modal: "Port COM :" and "Table de brivage :" with "Annuler" and
// "Enregistrer". Neither button answers Enter or Escape by itself; the close box cancels.

#include <QWidget>

#include "model/form2.h"
#include "ui/controls/painted.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace lumiere {
class SettingsEvents;
}

namespace lumiere::ui {

class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    SettingsWindow(const Form2& form, SettingsEvents& events, QWidget* parent);
    void refresh();

    QLineEdit* portBox() const { return text1_; }
    QLineEdit* pictureBox() const { return text2_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }
    QLabel* errorLabel() const { return error_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SettingsEvents& events_;
    const Form2& form_;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* save_ = nullptr;
    QLabel* error_ = nullptr;
    // What the boxes and the message show, to touch them only when the model changes.
    Painted<std::string> shownPort_;
    Painted<std::string> shownPicture_;
    Painted<std::string> shownError_;
};

}  // namespace lumiere::ui
