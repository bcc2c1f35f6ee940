// SPDX-License-Identifier: GPL-3.0-or-later
#include "link_bench.h"

#include <unistd.h>

#include <QSerialPort>
#include <chrono>
#include <filesystem>
#include <vector>

#include "link/frame.h"
#include "link/lamp_link.h"
#include "link/posix_serial_port.h"
#include "support/far_side.h"

namespace lumiere::bench {

using test::Arrival;
using test::FarSide;
using test::memoryKilobytes;
using test::monotonicNs;
namespace {

using Clock = std::chrono::steady_clock;

double microseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

int lost(FarSide& far, int frames) {
    far.waitFor(static_cast<std::size_t>(frames), 3000);
    const auto got = far.take();
    int wrong = std::abs(frames - static_cast<int>(got.size()));
    for (std::size_t i = 0; i < got.size() && i < static_cast<std::size_t>(frames); ++i) {
        wrong += got[i].value != static_cast<int>(i % 256);
    }
    return wrong;
}

}  // namespace

LinkFigures measureLink(int frames) {
    LinkFigures figures;
    figures.frames = frames;
    FarSide far;
    if (!far.ok()) return figures;

    const std::string folder = far.makeProgramFolder("link");

    PosixSerialPort port;
    LampLink link(port, PortDevices(folder));
    link.setPortNumber(1);
    std::vector<double> costs;
    costs.reserve(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const auto start = Clock::now();
        link.envoi(i % 256);
        costs.push_back(microseconds(start, Clock::now()));
    }
    figures.envoiUs = spreadOf(costs);
    figures.envoiLost = lost(far, frames);

    costs.clear();
    QSerialPort qt;
    qt.setPortName(QString::fromStdString(far.path()));
    for (int i = 0; i < frames; ++i) {
        const auto start = Clock::now();
        if (qt.open(QIODevice::WriteOnly)) {
            qt.setBaudRate(QSerialPort::Baud9600);
            qt.setDataBits(QSerialPort::Data8);
            qt.setParity(QSerialPort::NoParity);
            qt.setStopBits(QSerialPort::OneStop);
            qt.setFlowControl(QSerialPort::NoFlowControl);
            qt.setDataTerminalReady(false);
            const auto frame = LampFrame{static_cast<std::uint8_t>(i % 256)}.bytes();
            qt.write(reinterpret_cast<const char*>(frame.data()), frame.size());
            qt.waitForBytesWritten(1000);
            qt.close();
        }
        costs.push_back(microseconds(start, Clock::now()));
    }
    figures.qtUs = spreadOf(costs);
    figures.qtLost = lost(far, frames);

    std::filesystem::remove_all(folder);
    return figures;
}

}  // namespace lumiere::bench
