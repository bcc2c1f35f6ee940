// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/dmx_window.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/qt_bridge.h"

namespace lumiere::ui {

DmxWindow::DmxWindow(BoundOption<DmxOption> option, QWidget* parent)
    : OptionWindow(QStringLiteral("Sortie DMX"), parent), option_(option) {
    enabled_ = new QCheckBox(QStringLiteral("Envoyer vers OLA"), this);
    universe_ = new QLineEdit(this);
    channel_ = new QLineEdit(this);
    level_ = new QLineEdit(this);
    for (QLineEdit* box : {universe_, channel_, level_}) box->setMaximumWidth(90);
    state_ = new QLabel(this);
    message_ = new QLabel(this);
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    auto* save = new QPushButton(QStringLiteral("Enregistrer"), this);

    auto* form = new QFormLayout;
    form->addRow(enabled_);
    form->addRow(QStringLiteral("Univers OLA (1 à 65535) :"), universe_);
    form->addRow(QStringLiteral("Canal de la lampe 1 (1 à 505) :"), channel_);
    form->addRow(QStringLiteral("Valeur d’une lampe allumée (1 à 255) :"), level_);
    layOutOptionDialog(this, form, state_, message_, close, save);
    setMinimumWidth(420);

    connect(enabled_, &QCheckBox::toggled, this,
            [this](bool on) { option_.run([on](DmxOption& o) { o.setEnabled(on); }); });
    const auto typed = [this](QLineEdit* box, void (DmxOption::*set)(const std::string&)) {
        connect(box, &QLineEdit::textEdited, this, [this, set](const QString& text) {
            option_.run([&](DmxOption& o) { (o.*set)(fromQString(text)); });
        });
    };
    typed(universe_, &DmxOption::setUniverse);
    typed(channel_, &DmxOption::setChannel);
    typed(level_, &DmxOption::setLevel);
    connect(save, &QPushButton::clicked, this, [this] { option_.run(&DmxOption::save); });
    connect(close, &QPushButton::clicked, this, [this] { closeClicked(); });
}

void DmxWindow::closeClicked() {
    option_.run(&DmxOption::close);
}

void DmxWindow::refresh() {
    const DmxDialog& dialog = option_->dialog();
    if (!shown_.changed(dialog)) return;
    if (enabled_->isChecked() != dialog.enabled) enabled_->setChecked(dialog.enabled);
    follow(universe_, dialog.universe);
    follow(channel_, dialog.channel);
    follow(level_, dialog.level);
    state_->setText(toQString(dialog.state));
    message_->setText(toQString(dialog.message));
    message_->setStyleSheet(dialog.saved ? QStringLiteral("color: #305030;")
                                         : QStringLiteral("color: #b00000;"));
    followVisible(dialog.visible);
}

OptionModule dmxModule(DmxConnector connector) {
    return optionModule<DmxOption, DmxWindow>(QStringLiteral("Sortie DMX…"),
                                              makeDmxOption(std::move(connector)));
}

}  // namespace lumiere::ui
