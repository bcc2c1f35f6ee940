// SPDX-License-Identifier: GPL-3.0-or-later
// Lumière's link against the virtual lamp controller: every frame sent arrives, in order.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "link/lamp_link.h"
#include "link/posix_serial_port.h"
#include "support/temp_folder.h"

extern char** environ;

namespace lumiere {
namespace {

TEST(Simulator, ReceivesEveryFrameLumiereSends) {
    TempFolder folder;
    folder.write("param.ini", "[Port]\r\nCOM=5\r\n");
    const std::string log = folder.file("frames.log");
    std::vector<std::string> args = {
        LUMIERE_SIM_EXECUTABLE, "--dossier", folder.path(), "--log", log, "--silencieux"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (::access(folder.file("COM5").c_str(), F_OK) != 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    PosixSerialPort port;
    LampLink link(port, PortDevices(folder.path()));
    link.setPortNumber(5);
    for (int v = 0; v < 256; ++v) link.envoi(v);
    EXPECT_TRUE(link.fault().empty()) << link.fault();

    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::ifstream in(log);
    std::vector<int> values;
    long long stamp = 0;
    int value = 0;
    while (in >> stamp >> value) values.push_back(value);
    ASSERT_EQ(values.size(), 256u);
    for (int v = 0; v < 256; ++v) EXPECT_EQ(values[v], v);
}

}  // namespace
}  // namespace lumiere
