// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A termination request (Ctrl-C in the terminal, SIGTERM at logout) ends Lumière the way
// "Quitter" does, so the lamps are switched off before the program goes. The program holds the
// termination signals from its first line (holdSignals): one that comes during start-up waits
// for the watch and then ends the program the same way.

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace lumiere::ui {

class TerminationWatch {
public:
    // Holds SIGINT, SIGTERM and SIGHUP back until a watch exists; threads started meanwhile keep
    // them held, so the window's thread is the one that takes them.
    static void holdSignals();
    // Lets them through again with their usual effect: for a program that ends before the show
    // starts, which has no lamps to switch off.
    static void releaseSignals();

    // Takes the signals held back and every later one.
    explicit TerminationWatch(std::function<void()> quit);
    ~TerminationWatch();
    TerminationWatch(const TerminationWatch&) = delete;
    TerminationWatch& operator=(const TerminationWatch&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace lumiere::ui
