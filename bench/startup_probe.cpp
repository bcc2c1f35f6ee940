// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup_probe.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/application.h"
#include "link/posix_serial_port.h"
#include "program/program_options.h"
#include "support/far_side.h"
#include "ui/form_view.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

extern char** environ;

namespace lumiere::bench {

using test::Arrival;
using test::FarSide;
using test::memoryKilobytes;
using test::monotonicNs;
namespace {

constexpr const char* kProbeFlag = "--startup-probe";

// Notes that the watched widget received its first paint event.
class FirstPaint : public QObject {
    Q_OBJECT

public:
    bool seen = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) seen = true;
        return false;
    }
};

}  // namespace

int runStartupProbe(int argc, char** argv) {
    const std::string folder = argv[2];
    QApplication qapp(argc, argv);
    ui::applyLook();
    ui::QtPlatform platform(folder);
    PosixSerialPort port;
    const std::vector<ui::OptionModule> options = programOptions();
    Application app(platform, port, ui::optionFactories(options));
    ui::MainWindow window(app, platform, options);
    FirstPaint probe;
    window.formView()->installEventFilter(&probe);
    app.Form_Load();
    window.show();
    // processEvents returns once the paint it delivered is done.
    while (!probe.seen) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("first-paint-ns %lld\n", static_cast<long long>(monotonicNs()));
    std::fflush(stdout);
    app.inter_Click();
    QEventLoop loop;
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
    std::printf("peak-kb %ld\n", memoryKilobytes("VmHWM"));
    return 0;
}

StartupFigures measureStartup(const char* self) {
    StartupFigures figures;
    FarSide far;
    const std::string folder = far.makeProgramFolder("startup");
    // The desk picture and the other pictures, as beside the program.
    const auto programFolder = std::filesystem::path(self).parent_path().parent_path() / "bin";
    for (const auto& entry : std::filesystem::directory_iterator(programFolder)) {
        const auto ext = entry.path().extension();
        if (ext == ".dib" || ext == ".bmp") {
            std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
        }
    }
    std::ofstream(folder + "/param.ini", std::ios::app) << "[Table]\r\nvaleur=pupitre.bmp\r\n";

    int out[2];
    if (::pipe(out) != 0) return figures;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string flag = kProbeFlag, path = folder;
    char* args[] = {const_cast<char*>(self), flag.data(), path.data(), nullptr};
    const std::int64_t launchNs = monotonicNs();
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, self, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) return figures;

    std::string report;
    char buffer[256];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    long long paintNs = 0;
    long peakKb = 0;
    if (std::sscanf(report.c_str(), "first-paint-ns %lld\npeak-kb %ld", &paintNs, &peakKb) == 2) {
        figures.ok = true;
        figures.firstPaintMs = (paintNs - launchNs) / 1e6;
        figures.peakMegabytes = peakKb / 1024.0;
    }
    std::filesystem::remove_all(folder);
    return figures;
}

bool isStartupProbe(int argc, char** argv) {
    return argc >= 3 && std::strcmp(argv[1], kProbeFlag) == 0;
}

}  // namespace lumiere::bench

#include "startup_probe.moc"
