// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/termination_watch.h"

#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

namespace lumiere::ui {
namespace {

int pipeEnds[2] = {-1, -1};

// Only async-signal-safe work here: wake the event loop, which does the rest.
void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[0], &byte, 1);
}

sigset_t terminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

void TerminationWatch::holdSignals() {
    const sigset_t set = terminationSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void TerminationWatch::releaseSignals() {
    const sigset_t set = terminationSignals();
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

TerminationWatch::TerminationWatch(std::function<void()> quit) {
    // Without a way to wake the window the signals end the program as they usually do, rather
    // than staying held for the whole run.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0) {
        releaseSignals();
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [quit = std::move(quit)] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(pipeEnds[1], &byte, 1);
        quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    releaseSignals();
}

TerminationWatch::~TerminationWatch() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
    notifier_.reset();
    for (int& end : pipeEnds) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

}  // namespace lumiere::ui
