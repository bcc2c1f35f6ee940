// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Télécommande web…", not modal: "Activer la télécommande web", the port,
// "Accessible depuis le réseau local", the addresses to type on a phone with a QR code of the
// first, the pairing code and "Nouveau code", the phones connected, "Enregistrer" and "Fermer".
//
// The window also owns the server (WebRemote): it follows the settings in force after every
// event of the application and tells the server that the desk may have changed, so every paired
// page follows the lamps. It is made before start-up and destroyed before the application.

#include <QElapsedTimer>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls/painted.h"
#include "ui/option_window.h"
#include "web/web_option.h"
#include "web/web_settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace lumiere {
class WebRemote;
}

namespace lumiere::ui {

class WebWindow final : public OptionWindow {
public:
    WebWindow(BoundOption<WebOption> option, QWidget* parent);
    ~WebWindow() override;
    void refresh() override;

    // The server, for tests and the benchmark.
    const WebRemote& remote() const { return *remote_; }

private:
    class WindowDesk;

    void closeClicked() override;
    void showServer();

    BoundOption<WebOption> option_;
    std::unique_ptr<WindowDesk> desk_;
    std::unique_ptr<WebRemote> remote_;
    WebSettings applied_;
    QCheckBox* enabled_ = nullptr;
    QLineEdit* port_ = nullptr;
    QCheckBox* network_ = nullptr;
    QLabel* addresses_ = nullptr;
    QLabel* qr_ = nullptr;
    QLabel* code_ = nullptr;
    QLabel* phones_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* message_ = nullptr;
    Painted<WebDialog> shown_;
    // What the server part of the dialog shows, to touch it only when it changes.
    struct Server {
        std::vector<std::string> addresses;
        std::string code;
        std::string error;
        bool listening = false;
        int phones = 0;
        bool operator==(const Server&) const = default;
    };
    Painted<Server> shownServer_;
    QElapsedTimer sinceServerShown_;  // the addresses are looked up at most once a second
};

// Options > "Télécommande web…".
OptionModule webModule();

}  // namespace lumiere::ui
