// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Télécommande web…": the desk from a phone's browser. This holds the dialog's model,
// the [Web] entries of param.ini and what a phone sees of the desk and may do on it; the server
// itself (Qt's HttpServer and WebSockets, on a thread of its own) follows the settings in force
// from the dialog's side. Off by default: then nothing listens.
//
//   [Web] Actif   0 or 1
//         Port    1 to 65535 (8080 by default)
//         Reseau  0: 127.0.0.1 only; 1: every interface ("Accessible depuis le réseau local")
//         Code    the six-digit pairing code; made (and kept here) when it is missing or wrong
//
// A phone's command does exactly what the same action on the desk does, as one event of the
// application: "Marche / Arrêt" the switch, an effect its button, "Tout arrêter" and "Arrêter la
// séquence" the stop-all click, "Général" the master knob, "Lancer" the sequence button with
// that file chosen.

#include <string>
#include <vector>

#include "option/option.h"
#include "web/remote_desk.h"
#include "web/web_settings.h"

namespace lumiere {

// The dialog as the user sees it; texts are Windows-1252.
struct WebDialog {
    bool visible = false;
    bool enabled = false;  // "Activer la télécommande web"
    bool network = false;  // "Accessible depuis le réseau local"
    std::string port;      // the port box, as typed
    std::string message;   // what the last "Enregistrer" did, or why it was refused
    bool saved = false;    // the last "Enregistrer" wrote param.ini

    bool operator==(const WebDialog&) const = default;
};

class WebOption final : public Option, public RemoteDesk {
public:
    explicit WebOption(OptionContext& context);

    const WebDialog& dialog() const { return dialog_; }
    // The settings in force: the server listens as they say. UTF-8.
    const WebSettings& settings() const { return settings_; }

    void load(const Profile& profile) override;
    void show() override;
    void close() override;
    bool visible() const override { return dialog_.visible; }
    // Once a second: the list of sequence files follows the program folder.
    void poll() override;

    void setEnabled(bool enabled) { dialog_.enabled = enabled; }
    void setNetwork(bool network) { dialog_.network = network; }
    void setPort(const std::string& text) { dialog_.port = text; }
    // "Enregistrer": a port that is no whole number from 1 to 65535 refuses the save; otherwise
    // the settings go to param.ini and are in force at once.
    void save();
    // "Nouveau code": another code, in force at once (every phone pairs again) and kept.
    void newCode();

    RemoteState remoteState() const override;
    std::string runRemote(const RemoteCommand& command) override;

private:
    void listSequences();
    int keepCode();

    OptionContext& context_;
    WebDialog dialog_;
    WebSettings settings_;
    std::vector<std::string> sequences_;  // the folder's sequence files, as a phone shows them
    std::vector<std::string> files_;      // and their names on disk, in the same order
};

// The option as the application makes it.
OptionFactory makeWebOption();

// The sequence files among a folder's entries: the .txt files that are neither an animation
// (animation1.txt to animation3.txt) nor a cycle (a name starting with "cycle"), sorted.
std::vector<std::string> sequenceFiles(const std::vector<std::string>& names);

}  // namespace lumiere
