// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/music_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

constexpr int kFlashMs = 90;  // how long the beat lamp stays lit

QString lampStyle(bool lit) {
    return QStringLiteral("border-radius: 8px; border: 1px solid #303030; background: %1;")
        .arg(lit ? QStringLiteral("#ff2020") : QStringLiteral("#505050"));
}

}  // namespace

MusicWindow::MusicWindow(BoundOption<MusicOption> option, QWidget* parent)
    : OptionWindow(QStringLiteral("Musique"), parent), option_(option) {
    follow_ = new QCheckBox(QStringLiteral("Suivre la musique"), this);
    input_ = new QComboBox(this);
    input_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    input_->setMinimumContentsLength(28);
    refresh_ = new QPushButton(QStringLiteral("Actualiser"), this);
    meter_ = new QProgressBar(this);
    meter_->setRange(0, 100);
    meter_->setTextVisible(false);
    meter_->setMaximumHeight(12);
    lamp_ = new QLabel(this);
    lamp_->setFixedSize(16, 16);
    tempo_ = new QLabel(this);
    tap_ = new QPushButton(QStringLiteral("Tap"), this);
    tap_->setToolTip(
        QStringLiteral("Tapez le rythme (ou la touche T) : quatre coups ou plus "
                       "donnent le tempo quand aucune entrée ne l’entend"));
    sensitivity_ = new QSlider(Qt::Horizontal, this);
    sensitivity_->setRange(kMinSensitivity, kMaxSensitivity);
    sensitivity_->setPageStep(1);
    sensitivity_->setFocusPolicy(Qt::StrongFocus);
    state_ = new QLabel(this);
    message_ = new QLabel(this);
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    auto* save = new QPushButton(QStringLiteral("Enregistrer"), this);
    for (QPushButton* button : {refresh_, tap_}) button->setAutoDefault(false);

    auto* inputRow = new QHBoxLayout;
    inputRow->addWidget(input_, 1);
    inputRow->addWidget(refresh_);
    auto* beatRow = new QHBoxLayout;
    beatRow->addWidget(lamp_);
    beatRow->addWidget(tempo_, 1);
    beatRow->addWidget(tap_);
    auto* form = new QFormLayout;
    form->addRow(follow_);
    form->addRow(QStringLiteral("Entrée :"), inputRow);
    form->addRow(QStringLiteral("Niveau :"), meter_);
    form->addRow(QStringLiteral("Rythme :"), beatRow);
    form->addRow(QStringLiteral("Sensibilité :"), sensitivity_);
    layOutOptionDialog(this, form, state_, message_, close, save);
    setMinimumWidth(460);
    flash(false);

    connect(follow_, &QCheckBox::toggled, this,
            [this](bool on) { option_.run([on](MusicOption& o) { o.setEnabled(on); }); });
    connect(input_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const std::string id = input_->itemData(index).toString().toStdString();
        option_.run([&](MusicOption& o) { o.selectInput(id); });
    });
    connect(refresh_, &QPushButton::clicked, this,
            [this] { option_.run(&MusicOption::refreshInputs); });
    connect(tap_, &QPushButton::clicked, this, [this] { option_.run(&MusicOption::tap); });
    connect(sensitivity_, &QSlider::valueChanged, this, [this](int value) {
        option_.run([value](MusicOption& o) { o.setSensitivity(value); });
    });
    connect(save, &QPushButton::clicked, this, [this] { option_.run(&MusicOption::save); });
    connect(close, &QPushButton::clicked, this, [this] { closeClicked(); });
    lampOff_.setSingleShot(true);
    connect(&lampOff_, &QTimer::timeout, this, [this] { flash(false); });
}

void MusicWindow::flash(bool lit) {
    lamp_->setStyleSheet(lampStyle(lit));
    if (lit) lampOff_.start(kFlashMs);
}

void MusicWindow::fillInputs() {
    const QSignalBlocker blocker(input_);
    input_->clear();
    input_->addItem(QStringLiteral("Entrée par défaut du serveur de son"), QString());
    const MusicDialog& dialog = option_->dialog();
    for (const MusicInput& input : dialog.inputs) {
        const QString name = toQString(input.description);
        input_->addItem(input.monitor ? QStringLiteral("Ce que joue : ") + name : name,
                        QString::fromStdString(input.id));
    }
    if (dialog.listing) input_->addItem(QStringLiteral("(liste en cours…)"), QString());
}

void MusicWindow::refresh() {
    const MusicDialog& dialog = option_->dialog();
    const bool first = shown_.first();
    const bool listChanged =
        first || shown_->inputs != dialog.inputs || shown_->listing != dialog.listing;
    const int beatsBefore = first ? 0 : shown_->beats;
    if (!shown_.changed(dialog)) return;
    if (follow_->isChecked() != dialog.settings.enabled) {
        const QSignalBlocker blocker(follow_);
        follow_->setChecked(dialog.settings.enabled);
    }
    if (listChanged) fillInputs();
    const int index = input_->findData(QString::fromStdString(dialog.settings.input));
    if (index >= 0 && index != input_->currentIndex()) {
        const QSignalBlocker blocker(input_);
        input_->setCurrentIndex(index);
    }
    if (sensitivity_->value() != dialog.settings.sensitivity) {
        const QSignalBlocker blocker(sensitivity_);
        sensitivity_->setValue(dialog.settings.sensitivity);
    }
    meter_->setValue(static_cast<int>(std::lround(std::clamp(dialog.level, 0.0, 1.0) * 100)));
    if (dialog.beats != beatsBefore && !first) flash(true);
    // The tempo the steps follow, or that none is found.
    tempo_->setText(toQString(music::describePulse(dialog.bpm)));
    state_->setText(toQString(dialog.state));
    message_->setText(toQString(dialog.message));
    followVisible(dialog.visible);
}

void MusicWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_T && !event->isAutoRepeat()) {
        option_.run(&MusicOption::tap);
        return;
    }
    OptionWindow::keyPressEvent(event);
}

void MusicWindow::closeClicked() {
    option_.run(&MusicOption::close);
}

OptionModule musicModule(MusicServices services) {
    return optionModule<MusicOption, MusicWindow>(QStringLiteral("Musique…"),
                                                  makeMusicOption(std::move(services)));
}

}  // namespace lumiere::ui
