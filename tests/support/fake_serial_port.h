// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A serial port for tests that keeps every frame and every call, and fails on demand.

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/serial_port.h"

namespace lumiere::test {

class FakeSerialPort final : public SerialPort {
public:
    std::vector<std::vector<std::uint8_t>> writes;  // each write call's bytes
    std::vector<std::string> calls;  // "open /dev/x", "dtr 0", "write", "drain", "close"
    int openError = 0;
    int dtrError = ENOTTY;  // like a pseudo-terminal, which has no modem lines
    int writeError = 0;
    bool open_ = false;

    void setDevice(const std::string& path) override { device = path; }
    int open() override {
        calls.push_back("open " + device);
        if (openError != 0) return openError;
        open_ = true;
        return 0;
    }
    bool isOpen() const override { return open_; }
    int setDtr(bool on) override {
        calls.push_back(on ? "dtr 1" : "dtr 0");
        return dtrError;
    }
    int write(const std::uint8_t* data, std::size_t size) override {
        calls.push_back("write");
        if (writeError != 0) return writeError;
        writes.emplace_back(data, data + size);
        return 0;
    }
    int drain() override {
        calls.push_back("drain");
        return 0;
    }
    void close() override {
        if (open_) calls.push_back("close");
        open_ = false;
    }

    // The pattern bytes of the frames written, checking that each frame is "n" + one byte.
    std::vector<int> values() const {
        std::vector<int> out;
        for (const auto& w : writes) {
            if (w.size() == 2 && w[0] == kFrameLetter)
                out.push_back(w[1]);
            else
                out.push_back(-1);
        }
        return out;
    }
    void clear() {
        writes.clear();
        calls.clear();
    }

    std::string device;
};

}  // namespace lumiere::test
