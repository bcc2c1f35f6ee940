// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "app/window_events.h"
#include "ui/option_window.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

QPushButton* makeButton(const CommandButton& model, QWidget* parent) {
    auto* button = new QPushButton(toQString(model.caption), parent);
    button->setGeometry(toRect(model.geo));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLabel* makeLabel(const Label& model, QWidget* parent) {
    auto* label = new QLabel(toQString(model.caption), parent);
    label->setGeometry(toRect(model.geo));
    return label;
}

QLineEdit* makeBox(const TextBox& model, QWidget* parent) {
    auto* box = new QLineEdit(toQString(model.text), parent);
    box->setGeometry(toRect(model.geo));
    return box;
}

// A box the user is typing in already shows the text: it is left alone.
void follow(QLineEdit* box, const std::string& text, Painted<std::string>& shown) {
    if (shown.changed(text)) ui::follow(box, text);
}

}  // namespace

SettingsWindow::SettingsWindow(const Form2& form, SettingsEvents& events, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      events_(events),
      form_(form) {
    setWindowTitle(toQString(form_.caption));
    setFixedSize(toPixels(form_.clientWidth), toPixels(form_.clientHeight));

    auto* frame = new QGroupBox(toQString(form_.Frame1.caption), this);
    frame->setGeometry(toRect(form_.Frame1.geo));
    makeLabel(form_.Label3, frame);
    text1_ = makeBox(form_.Text1, frame);
    makeLabel(form_.Label1, frame);
    text2_ = makeBox(form_.Text2, frame);
    cancel_ = makeButton(form_.Command12, frame);
    save_ = makeButton(form_.Command2, frame);

    error_ = new QLabel(frame);
    error_->setGeometry(toRect({270, 1560, 5655, 1350}));
    error_->setWordWrap(true);
    error_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    error_->setStyleSheet(QStringLiteral("color: #b00000;"));

    setTabOrder(cancel_, save_);
    setTabOrder(save_, text1_);
    setTabOrder(text1_, text2_);

    connect(text1_, &QLineEdit::textEdited, this,
            [this](const QString& text) { events_.Text1_Change(fromQString(text)); });
    connect(text2_, &QLineEdit::textEdited, this,
            [this](const QString& text) { events_.Text2_Change(fromQString(text)); });
    connect(save_, &QPushButton::clicked, this, [this] { events_.Command2_Click(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { events_.Command12_Click(); });
}

void SettingsWindow::refresh() {
    // Called after every event of the application, timer ticks included: convert only what changed,
    // and leave a box alone when it already shows the text (the user is typing in it).
    follow(text1_, form_.Text1.text, shownPort_);
    follow(text2_, form_.Text2.text, shownPicture_);
    if (shownError_.changed(form_.error)) error_->setText(toQString(*shownError_));

    if (form_.visible && !isVisible()) {
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
        show();
        raise();
        activateWindow();
        cancel_->setFocus();
    } else if (!form_.visible && isVisible()) {
        hide();
    }
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // the model decides: the close box is "Annuler"
    events_.Form2_Close();
}

}  // namespace lumiere::ui
