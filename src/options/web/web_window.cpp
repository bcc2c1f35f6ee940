// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_bridge.h"
#include "web/qr_image.h"
#include "web/web_remote.h"

namespace lumiere::ui {
namespace {

constexpr qint64 kServerShownMs = 1000;

QString spaced(const std::string& code) {
    const QString digits = QString::fromStdString(code);
    return digits.size() == 6 ? digits.left(3) + QStringLiteral(" ") + digits.mid(3) : digits;
}

}  // namespace

// The desk as the server sees it, on the window's thread: a phone's command runs as one event
// of the application, and no command runs while a modal dialog of the program is open (the
// desk's own file dialogs and messages, the editor's questions).
class WebWindow::WindowDesk final : public RemoteDesk {
public:
    explicit WindowDesk(BoundOption<WebOption> option) : option_(option) {}

    RemoteState remoteState() const override {
        RemoteState state = option_->remoteState();
        if (const QWidget* modal = QApplication::activeModalWidget(); modal && state.busy.empty()) {
            state.busy =
                ("Une fenêtre est ouverte sur le pupitre (« " + modal->windowTitle().toStdString() +
                 " ») : les commandes attendent qu’on la ferme.");
        }
        return state;
    }
    std::string runRemote(const RemoteCommand& command) override {
        if (const RemoteState state = remoteState(); !state.busy.empty()) return state.busy;
        std::string refused;
        option_.run([&](WebOption& o) { refused = o.runRemote(command); });
        return refused;
    }

private:
    BoundOption<WebOption> option_;
};

WebWindow::WebWindow(BoundOption<WebOption> option, QWidget* parent)
    : OptionWindow(QStringLiteral("Télécommande web"), parent),
      option_(option),
      desk_(std::make_unique<WindowDesk>(option)) {
    remote_ = std::make_unique<WebRemote>(*desk_, applied_);  // off until the settings say on
    enabled_ = new QCheckBox(QStringLiteral("Activer la télécommande web"), this);
    port_ = new QLineEdit(this);
    port_->setMaximumWidth(90);
    network_ = new QCheckBox(QStringLiteral("Accessible depuis le réseau local"), this);
    network_->setToolTip(
        QStringLiteral("Sans cette case, seule cette machine peut ouvrir la page (127.0.0.1)."));
    addresses_ = new QLabel(this);
    addresses_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    qr_ = new QLabel(this);
    qr_->setFixedSize(150, 150);
    qr_->setAlignment(Qt::AlignCenter);
    code_ = new QLabel(this);
    QFont big = code_->font();
    if (big.pointSizeF() > 0) {
        big.setPointSizeF(big.pointSizeF() * 1.8);
    } else {
        big.setPixelSize(big.pixelSize() * 9 / 5);
    }
    big.setBold(true);
    code_->setFont(big);
    code_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* renew = new QPushButton(QStringLiteral("Nouveau code"), this);
    renew->setAutoDefault(false);
    renew->setToolTip(
        QStringLiteral("Un autre code : chaque téléphone devra le taper de nouveau."));
    phones_ = new QLabel(this);
    auto* plain = new QLabel(
        QStringLiteral("La page est en HTTP simple, sans chiffrement : pour un réseau de maison "
                       "ou de scène, pas pour Internet."),
        this);
    plain->setWordWrap(true);
    plain->setStyleSheet(QStringLiteral("color: #606060;"));
    state_ = new QLabel(this);
    message_ = new QLabel(this);
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    auto* save = new QPushButton(QStringLiteral("Enregistrer"), this);

    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(code_);
    codeRow->addStretch();
    codeRow->addWidget(renew);
    auto* reach = new QVBoxLayout;
    reach->addWidget(new QLabel(QStringLiteral("Sur le téléphone, tapez l’adresse :"), this));
    reach->addWidget(addresses_);
    reach->addWidget(new QLabel(QStringLiteral("puis le code :"), this));
    reach->addLayout(codeRow);
    reach->addWidget(phones_);
    reach->addStretch();
    auto* reachRow = new QHBoxLayout;
    reachRow->addLayout(reach, 1);
    reachRow->addWidget(qr_);
    auto* form = new QFormLayout;
    form->addRow(enabled_);
    form->addRow(QStringLiteral("Port (1 à 65535) :"), port_);
    form->addRow(network_);
    form->addRow(reachRow);
    form->addRow(plain);
    layOutOptionDialog(this, form, state_, message_, close, save);
    setMinimumWidth(520);

    connect(enabled_, &QCheckBox::toggled, this,
            [this](bool on) { option_.run([on](WebOption& o) { o.setEnabled(on); }); });
    connect(network_, &QCheckBox::toggled, this,
            [this](bool on) { option_.run([on](WebOption& o) { o.setNetwork(on); }); });
    connect(port_, &QLineEdit::textEdited, this, [this](const QString& text) {
        option_.run([&](WebOption& o) { o.setPort(fromQString(text)); });
    });
    connect(renew, &QPushButton::clicked, this, [this] { option_.run(&WebOption::newCode); });
    connect(save, &QPushButton::clicked, this, [this] { option_.run(&WebOption::save); });
    connect(close, &QPushButton::clicked, this, [this] { closeClicked(); });
}

WebWindow::~WebWindow() = default;

void WebWindow::closeClicked() {
    option_.run(&WebOption::close);
}

void WebWindow::refresh() {
    const WebSettings& wanted = option_->settings();
    const bool moved = wanted != applied_;
    if (moved) {
        remote_->apply(wanted);
        applied_ = wanted;
    }
    remote_->changed();

    const WebDialog& dialog = option_->dialog();
    if (shown_.changed(dialog)) {
        if (enabled_->isChecked() != dialog.enabled) enabled_->setChecked(dialog.enabled);
        if (network_->isChecked() != dialog.network) network_->setChecked(dialog.network);
        follow(port_, dialog.port);
        message_->setText(toQString(dialog.message));
        message_->setStyleSheet(dialog.saved ? QStringLiteral("color: #305030;")
                                             : QStringLiteral("color: #b00000;"));
    }
    if (isVisible() || dialog.visible) {
        if (moved || !sinceServerShown_.isValid() ||
            sinceServerShown_.elapsed() >= kServerShownMs) {
            showServer();
        }
    }
    followVisible(dialog.visible);
}

void WebWindow::showServer() {
    sinceServerShown_.start();
    const bool listening = remote_->listening();
    const Server now{listening ? remote_->addresses() : std::vector<std::string>{}, remote_->code(),
                     remote_->error(), listening, remote_->phones()};
    const bool reachChanged = shownServer_.first() || shownServer_->addresses != now.addresses ||
                              shownServer_->code != now.code;
    if (!shownServer_.changed(now)) return;
    if (reachChanged) {
        QStringList lines;
        for (const std::string& address : now.addresses) lines << QString::fromStdString(address);
        addresses_->setText(lines.isEmpty() ? QStringLiteral("—")
                                            : lines.join(QStringLiteral("\n")));
        qr_->setPixmap(now.addresses.empty()
                           ? QPixmap()
                           : QPixmap::fromImage(qrImage(now.addresses.front(), 4))
                                 .scaled(qr_->size(), Qt::KeepAspectRatio, Qt::FastTransformation));
        code_->setText(now.code.empty() ? QStringLiteral("—") : spaced(now.code));
    }
    phones_->setText(QStringLiteral("Téléphones connectés : %1 (8 au plus)").arg(now.phones));
    state_->setText(!now.error.empty() ? QString::fromStdString(now.error)
                    : now.listening
                        ? QStringLiteral("La télécommande web écoute.")
                        : QStringLiteral("La télécommande web est arrêtée : rien n’écoute."));
    state_->setStyleSheet(now.error.empty() ? QString() : QStringLiteral("color: #b00000;"));
}

OptionModule webModule() {
    return optionModule<WebOption, WebWindow>(QStringLiteral("Télécommande web…"), makeWebOption(),
                                              {}, true);
}

}  // namespace lumiere::ui
