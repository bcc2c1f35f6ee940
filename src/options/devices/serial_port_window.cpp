// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/serial_port_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

// How often the device list is looked at while the dialog is open.
constexpr int kWatchMs = 500;

QString pathOf(const QListWidgetItem* item) {
    return item ? item->data(Qt::UserRole).toString() : QString();
}

}  // namespace

SerialPortWindow::SerialPortWindow(BoundOption<SerialPortOption> option, QWidget* parent)
    : OptionWindow(QStringLiteral("Port série"), parent), option_(option) {
    auto* intro = new QLabel(QStringLiteral("Le contrôleur de lampes est branché sur :"), this);
    list_ = new QListWidget(this);
    chosen_ = new QLabel(this);
    chosen_->setWordWrap(true);
    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* tryIt = new QPushButton(QStringLiteral("Essayer"), this);
    auto* use = new QPushButton(QStringLiteral("Utiliser"), this);
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    for (QPushButton* button : {tryIt, use, close}) button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(tryIt);
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(use);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(list_);
    layout->addWidget(chosen_);
    layout->addWidget(message_);
    layout->addLayout(buttons);
    setMinimumSize(480, 320);

    connect(list_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        const std::string path = fromQString(pathOf(item));
        option_.run([&](SerialPortOption& o) { o.select(path); });
    });
    connect(tryIt, &QPushButton::clicked, this, [this] { option_.run(&SerialPortOption::tryIt); });
    connect(use, &QPushButton::clicked, this, [this] { option_.run(&SerialPortOption::use); });
    connect(close, &QPushButton::clicked, this, [this] { closeClicked(); });
    watch_.setInterval(kWatchMs);
    connect(&watch_, &QTimer::timeout, this, [this] { option_.run(&SerialPortOption::watch); });
}

void SerialPortWindow::closeClicked() {
    option_.run(&SerialPortOption::close);
}

void SerialPortWindow::fillList() {
    const QSignalBlocker blocker(list_);
    list_->clear();
    auto* none = new QListWidgetItem(QStringLiteral("Aucun (numéro COM)"), list_);
    none->setData(Qt::UserRole, QString());
    for (const devices::SerialDevice& device : option_->dialog().devices) {
        auto* item = new QListWidgetItem(toQString(device.label), list_);
        item->setData(Qt::UserRole, QString::fromStdString(device.path));
        item->setToolTip(QString::fromStdString(device.path + " → " + device.device));
    }
}

void SerialPortWindow::refresh() {
    const SerialPortDialog& dialog = option_->dialog();
    const bool listChanged = shown_.first() || shown_->devices != dialog.devices;
    if (!shown_.changed(dialog)) return;
    if (listChanged) fillList();
    const QString selected = QString::fromStdString(dialog.selected);
    for (int i = 0; i < list_->count(); ++i) {
        if (pathOf(list_->item(i)) == selected && list_->currentRow() != i) {
            const QSignalBlocker blocker(list_);
            list_->setCurrentRow(i);
        }
    }
    chosen_->setText(dialog.chosen.empty()
                         ? QStringLiteral("Utilisé : le numéro COM de Fichier > Paramètres.")
                         : QStringLiteral("Utilisé : ") + QString::fromStdString(dialog.chosen));
    message_->setText(toQString(dialog.message));
    if (dialog.visible != watch_.isActive()) {
        if (dialog.visible)
            watch_.start();
        else
            watch_.stop();
    }
    followVisible(dialog.visible);
}

OptionModule serialPortModule(std::string devRoot) {
    return optionModule<SerialPortOption, SerialPortWindow>(
        QStringLiteral("Port série…"), makeSerialPortOption(std::move(devRoot)));
}

}  // namespace lumiere::ui
