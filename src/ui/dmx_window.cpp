// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dmx_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/window_events.h"
#include "text/cp1252.h"
#include "ui/option_window.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {

DmxWindow::DmxWindow(const DmxDialog& dialog, DmxEvents& events, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      events_(events),
      dialog_(dialog) {
    setWindowTitle(QStringLiteral("Sortie DMX"));
    enabled_ = new QCheckBox(QStringLiteral("Envoyer vers OLA"), this);
    universe_ = new QLineEdit(this);
    channel_ = new QLineEdit(this);
    level_ = new QLineEdit(this);
    for (QLineEdit* box : {universe_, channel_, level_}) box->setMaximumWidth(90);
    state_ = new QLabel(this);
    message_ = new QLabel(this);
    close_ = new QPushButton(QStringLiteral("Fermer"), this);
    save_ = new QPushButton(QStringLiteral("Enregistrer"), this);

    auto* form = new QFormLayout;
    form->addRow(enabled_);
    form->addRow(QStringLiteral("Univers OLA (1 à 65535) :"), universe_);
    form->addRow(QStringLiteral("Canal de la lampe 1 (1 à 505) :"), channel_);
    form->addRow(QStringLiteral("Valeur d’une lampe allumée (1 à 255) :"), level_);
    layOutOptionDialog(this, form, state_, message_, close_, save_);
    setMinimumWidth(420);

    connect(enabled_, &QCheckBox::toggled, this, [this](bool on) { events_.dmxEnabledChange(on); });
    connect(universe_, &QLineEdit::textEdited, this,
            [this](const QString& text) { events_.dmxUniverseChange(fromQString(text)); });
    connect(channel_, &QLineEdit::textEdited, this,
            [this](const QString& text) { events_.dmxChannelChange(fromQString(text)); });
    connect(level_, &QLineEdit::textEdited, this,
            [this](const QString& text) { events_.dmxLevelChange(fromQString(text)); });
    connect(save_, &QPushButton::clicked, this, [this] { events_.dmxSaveClick(); });
    connect(close_, &QPushButton::clicked, this, [this] { events_.dmxCloseClick(); });
}

void DmxWindow::refresh() {
    if (!shown_.changed(dialog_)) return;
    if (enabled_->isChecked() != dialog_.enabled) enabled_->setChecked(dialog_.enabled);
    follow(universe_, dialog_.universe);
    follow(channel_, dialog_.channel);
    follow(level_, dialog_.level);
    state_->setText(toQString(dialog_.state));
    message_->setText(toQString(dialog_.message));
    message_->setStyleSheet(dialog_.saved ? QStringLiteral("color: #305030;")
                                          : QStringLiteral("color: #b00000;"));
    if (dialog_.visible && !isVisible()) showOver(this);
    if (!dialog_.visible && isVisible()) hide();
}

void DmxWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // the model decides: the close box is "Fermer"
    events_.dmxCloseClick();
}

void DmxWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return events_.dmxCloseClick();  // as "Fermer"
    QWidget::keyPressEvent(event);
}

}  // namespace lumiere::ui
