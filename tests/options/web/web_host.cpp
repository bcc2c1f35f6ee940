// SPDX-License-Identifier: GPL-3.0-or-later
// lumiere-web-host: the web remote's server with the fake desk, for the browser test.
//   lumiere-web-host [--port N] [--code NNNNNN] [--musique 0|1]
// Listens on 127.0.0.1 only, ticks the desk every 10 ms, prints "URL <address>" and "CODE <code>"
// once listening, and reads commands on its standard input, one a line:
//   occupe <texte>   a modal dialog is open on the desk (commands refused with <texte>)
//   libre            the dialog is closed
//   musique          the music option on: a beat every 490 ms, 122 BPM shown
//   etat             prints "ETAT <lamps as 8 digits> <marche 0/1> <pressed effect 1..9 or 0>"
// It ends at the end of its input or on SIGTERM.

#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

#include "support/fake_desk.h"
#include "web/web_remote.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::signal(SIGTERM, [](int) { QCoreApplication::quit(); });
    lumiere::WebSettings settings{true, 0, false, ""};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--port") settings.port = std::stoi(argv[i + 1]);
        if (option == "--code") settings.code = argv[i + 1];
    }

    lumiere::test::FakeDesk desk;
    const auto music = [&] {
        desk.state.music = true;
        desk.state.bpm = 122.0;
    };
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--musique" && std::string(argv[i + 1]) == "1") music();
    }
    lumiere::WebRemote remote(desk, settings);
    if (!remote.listening()) {
        std::cerr << remote.error() << '\n';
        return 1;
    }
    std::cout << "URL " << remote.addresses().front() << "\nCODE " << remote.code() << std::endl;

    QTimer frames;
    frames.setTimerType(Qt::PreciseTimer);
    QObject::connect(&frames, &QTimer::timeout, [&] {
        desk.tick();
        if (desk.state.music && desk.frames % 49 == 0) ++desk.state.beats;
        remote.changed();
    });
    frames.start(10);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    std::string pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[512];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line.rfind("occupe ", 0) == 0) {
                desk.state.busy = line.substr(7);
            } else if (line == "musique") {
                music();
            } else if (line == "libre") {
                desk.state.busy.clear();
            } else if (line == "etat") {
                std::string lamps;
                for (const bool lit : desk.state.lamps) lamps += lit ? '1' : '0';
                std::cout << "ETAT " << lamps << ' ' << desk.state.on << ' ' << desk.effect() + 1
                          << std::endl;
            }
            remote.changed();
        }
    });
    return app.exec();
}
