#pragma once
// A termination request (Ctrl-C in the terminal, SIGTERM at logout) ends Lumière the way
// "Quitter" does, so the lamps are switched off before the program goes.

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace lumiere::ui {

class TerminationWatch {
public:
    explicit TerminationWatch(std::function<void()> quit);
    ~TerminationWatch();
    TerminationWatch(const TerminationWatch&) = delete;
    TerminationWatch& operator=(const TerminationWatch&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace lumiere::ui
