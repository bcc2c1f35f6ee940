// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/far_side.h"

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "link/frame.h"

namespace lumiere::test {

std::int64_t monotonicNs() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

long memoryKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(field) + ":";
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
    }
    return 0;
}

FarSide::FarSide() {
    char name[256];
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
    path_ = name;
    termios tio{};
    ::tcgetattr(slave_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave_, TCSANOW, &tio);
    reader_ = std::thread([this] { run(); });
}

FarSide::~FarSide() {
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
}

void FarSide::run() {
    FrameDecoder decoder;
    std::vector<LineEvent> events;
    std::uint8_t buffer[4096];
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 5) <= 0 || !(p.revents & POLLIN)) continue;
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) continue;
        const std::int64_t now = monotonicNs();
        events.clear();
        decoder.feed({buffer, static_cast<std::size_t>(n)}, events);
        std::lock_guard lock(mutex_);
        for (const auto& e : events) {
            if (e.kind == LineEvent::Kind::Frame)
                arrivals_.push_back({now, e.value});
            else
                ++strays_;
        }
    }
}

std::string FarSide::makeProgramFolder(const std::string& purpose, int port) const {
    const std::string folder = std::filesystem::temp_directory_path() /
                               ("lumiere-" + purpose + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/param.ini") << "[Port]\r\nCOM=" << port << "\r\n";
    std::filesystem::create_symlink(path_, folder + "/COM" + std::to_string(port));
    return folder;
}

std::vector<Arrival> FarSide::take() {
    std::lock_guard lock(mutex_);
    std::vector<Arrival> out;
    out.swap(arrivals_);
    return out;
}

void FarSide::waitFor(std::size_t count, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        {
            std::lock_guard lock(mutex_);
            if (arrivals_.size() >= count) return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace lumiere::test
