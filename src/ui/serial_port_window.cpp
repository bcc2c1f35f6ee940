// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/serial_port_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/window_events.h"
#include "ui/option_window.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

// How often the device list is looked at while the dialog is open.
constexpr int kWatchMs = 500;

QString pathOf(const QListWidgetItem* item) {
    return item ? item->data(Qt::UserRole).toString() : QString();
}

}  // namespace

SerialPortWindow::SerialPortWindow(const SerialPortDialog& dialog, SerialPortEvents& events,
                                   QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      events_(events),
      dialog_(dialog) {
    setWindowTitle(QStringLiteral("Port série"));
    auto* intro = new QLabel(QStringLiteral("Le contrôleur de lampes est branché sur :"), this);
    list_ = new QListWidget(this);
    chosen_ = new QLabel(this);
    chosen_->setWordWrap(true);
    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    try_ = new QPushButton(QStringLiteral("Essayer"), this);
    use_ = new QPushButton(QStringLiteral("Utiliser"), this);
    close_ = new QPushButton(QStringLiteral("Fermer"), this);
    for (QPushButton* button : {try_, use_, close_}) button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(try_);
    buttons->addStretch();
    buttons->addWidget(close_);
    buttons->addWidget(use_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(list_);
    layout->addWidget(chosen_);
    layout->addWidget(message_);
    layout->addLayout(buttons);
    setMinimumSize(480, 320);

    connect(list_, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { events_.serialSelect(fromQString(pathOf(item))); });
    connect(try_, &QPushButton::clicked, this, [this] { events_.serialTryClick(); });
    connect(use_, &QPushButton::clicked, this, [this] { events_.serialUseClick(); });
    connect(close_, &QPushButton::clicked, this, [this] { events_.serialCloseClick(); });
    watch_.setInterval(kWatchMs);
    connect(&watch_, &QTimer::timeout, this, [this] { events_.serialPoll(); });
}

void SerialPortWindow::fillList() {
    const QSignalBlocker blocker(list_);
    list_->clear();
    auto* none = new QListWidgetItem(QStringLiteral("Aucun (numéro COM)"), list_);
    none->setData(Qt::UserRole, QString());
    for (const devices::SerialDevice& device : dialog_.devices) {
        auto* item = new QListWidgetItem(toQString(device.label), list_);
        item->setData(Qt::UserRole, QString::fromStdString(device.path));
        item->setToolTip(QString::fromStdString(device.path + " → " + device.device));
    }
}

void SerialPortWindow::refresh() {
    const bool listChanged = shown_.first() || shown_->devices != dialog_.devices;
    if (!shown_.changed(dialog_)) return;
    if (listChanged) fillList();
    const QString selected = QString::fromStdString(dialog_.selected);
    for (int i = 0; i < list_->count(); ++i) {
        if (pathOf(list_->item(i)) == selected && list_->currentRow() != i) {
            const QSignalBlocker blocker(list_);
            list_->setCurrentRow(i);
        }
    }
    chosen_->setText(dialog_.chosen.empty()
                         ? QStringLiteral("Utilisé : le numéro COM de Fichier > Paramètres.")
                         : QStringLiteral("Utilisé : ") + QString::fromStdString(dialog_.chosen));
    message_->setText(toQString(dialog_.message));
    if (dialog_.visible && !isVisible()) {
        showOver(this);
        watch_.start();
    }
    if (!dialog_.visible && isVisible()) {
        watch_.stop();
        hide();
    }
}

void SerialPortWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // the model decides: the close box is "Fermer"
    events_.serialCloseClick();
}

void SerialPortWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return events_.serialCloseClick();  // as "Fermer"
    QWidget::keyPressEvent(event);
}

}  // namespace lumiere::ui
