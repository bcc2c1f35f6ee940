// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/music_window.h"

#include <QCheckBox>
#include <QCloseEvent>
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

#include "app/window_events.h"
#include "ui/option_window.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

constexpr int kFlashMs = 90;  // how long the beat lamp stays lit

QString lampStyle(bool lit) {
    return QStringLiteral("border-radius: 8px; border: 1px solid #303030; background: %1;")
        .arg(lit ? QStringLiteral("#ff2020") : QStringLiteral("#505050"));
}

}  // namespace

MusicWindow::MusicWindow(const MusicDialog& dialog, MusicEvents& events, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      events_(events),
      dialog_(dialog) {
    setWindowTitle(QStringLiteral("Musique"));
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
    close_ = new QPushButton(QStringLiteral("Fermer"), this);
    save_ = new QPushButton(QStringLiteral("Enregistrer"), this);
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
    layOutOptionDialog(this, form, state_, message_, close_, save_);
    setMinimumWidth(460);
    flash(false);

    connect(follow_, &QCheckBox::toggled, this,
            [this](bool on) { events_.musicEnabledChange(on); });
    connect(input_, &QComboBox::currentIndexChanged, this, [this](int index) {
        events_.musicInputChange(input_->itemData(index).toString().toStdString());
    });
    connect(refresh_, &QPushButton::clicked, this, [this] { events_.musicRefreshClick(); });
    connect(tap_, &QPushButton::clicked, this, [this] { events_.musicTapClick(); });
    connect(sensitivity_, &QSlider::valueChanged, this,
            [this](int value) { events_.musicSensitivityChange(value); });
    connect(save_, &QPushButton::clicked, this, [this] { events_.musicSaveClick(); });
    connect(close_, &QPushButton::clicked, this, [this] { events_.musicCloseClick(); });
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
    for (const MusicInput& input : dialog_.inputs) {
        const QString name = toQString(input.description);
        input_->addItem(input.monitor ? QStringLiteral("Ce que joue : ") + name : name,
                        QString::fromStdString(input.id));
    }
    if (dialog_.listing) input_->addItem(QStringLiteral("(liste en cours…)"), QString());
}

void MusicWindow::refresh() {
    const bool first = shown_.first();
    const bool listChanged =
        first || shown_->inputs != dialog_.inputs || shown_->listing != dialog_.listing;
    const int beatsBefore = first ? 0 : shown_->beats;
    if (!shown_.changed(dialog_)) return;
    if (follow_->isChecked() != dialog_.settings.enabled) {
        const QSignalBlocker blocker(follow_);
        follow_->setChecked(dialog_.settings.enabled);
    }
    if (listChanged) fillInputs();
    const int index = input_->findData(QString::fromStdString(dialog_.settings.input));
    if (index >= 0 && index != input_->currentIndex()) {
        const QSignalBlocker blocker(input_);
        input_->setCurrentIndex(index);
    }
    if (sensitivity_->value() != dialog_.settings.sensitivity) {
        const QSignalBlocker blocker(sensitivity_);
        sensitivity_->setValue(dialog_.settings.sensitivity);
    }
    meter_->setValue(static_cast<int>(std::lround(std::clamp(dialog_.level, 0.0, 1.0) * 100)));
    if (dialog_.beats != beatsBefore && !first) flash(true);
    tempo_->setText(dialog_.bpm > 0 ? QStringLiteral("%1 BPM").arg(std::lround(dialog_.bpm))
                                    : QStringLiteral("— BPM"));
    state_->setText(toQString(dialog_.state));
    message_->setText(toQString(dialog_.message));
    if (dialog_.visible && !isVisible()) showOver(this);
    if (!dialog_.visible && isVisible()) hide();
}

void MusicWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_T && !event->isAutoRepeat()) {
        events_.musicTapClick();
        return;
    }
    if (event->key() == Qt::Key_Escape) return events_.musicCloseClick();  // as "Fermer"
    QWidget::keyPressEvent(event);
}

void MusicWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // the model decides: the close box is "Fermer"
    events_.musicCloseClick();
}

}  // namespace lumiere::ui
