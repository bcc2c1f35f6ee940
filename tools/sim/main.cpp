// SPDX-License-Identifier: GPL-3.0-or-later
// lumiere-sim: a virtual 8-lamp controller. It offers Lumière a pseudo-terminal under the name
// COM<N> in the program folder, decodes the frames Lumière writes to it, shows the lamps live,
// optionally logs every frame with its arrival time, and prints timing statistics on exit.

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "com_link.h"
#include "folders/command_line.h"
#include "folders/program_folder.h"
#include "frame_log.h"
#include "link/port_devices.h"
#include "pty_line.h"
#include "sim_config.h"
#include "simulator.h"
#include "stats.h"

namespace {

using namespace lumiere::sim;

constexpr int kExitFailure = 1;  // the system let us down (pty, folder)
constexpr int kExitRefused = 2;  // what was asked cannot be done as asked

int gStopPipeWrite = -1;

void onStopSignal(int signal) {
    const int savedErrno = errno;
    const auto byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t ignored = ::write(gStopPipeWrite, &byte, 1);
    errno = savedErrno;
}

// Makes SIGINT, SIGTERM and SIGHUP readable on the returned descriptor, so the receiving loop
// sees them in the same poll() as the line.
int installStopSignals() {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    for (const int fd : fds) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    gStopPipeWrite = fds[1];

    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
    // A closed pipe on stdout must not kill us before the link is removed.
    ::signal(SIGPIPE, SIG_IGN);
    return fds[0];
}

// Lumière's own program folder, found by the same rule: beside the executables when param.ini
// lies there (the build, a portable copy), otherwise the user's ~/.local/share/lumiere.
std::string lumiereFolder(std::string& error) {
    const auto folder = lumiere::folders::resolveProgramFolder(
        lumiere::folders::currentEnvironment(), std::string());
    error = folder.error;
    return folder.path;
}

std::string absolute(const std::string& folder) {
    char resolved[PATH_MAX];
    return ::realpath(folder.c_str(), resolved) != nullptr ? std::string(resolved) : folder;
}

void printOut(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

void printError(const std::string& message) {
    std::fprintf(stderr, "lumiere-sim : %s\n", message.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedArguments parsed = parseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok()) {
        printError(parsed.error);
        std::fputs("Voir « lumiere-sim --help ».\n", stderr);
        return kExitRefused;
    }
    const SimOptions& options = parsed.options;
    if (options.help) {
        printOut(usageText("lumiere-sim"));
        return 0;
    }
    if (options.version) {
        printOut(lumiere::folders::versionText("lumiere-sim"));
        return 0;
    }

    std::string folderError;
    const std::string folder =
        absolute(options.folder ? *options.folder : lumiereFolder(folderError));
    if (!folderError.empty()) {
        printError(folderError);
        return kExitRefused;
    }
    struct stat folderStat {};
    if (folder.empty() || ::stat(folder.c_str(), &folderStat) != 0 ||
        !S_ISDIR(folderStat.st_mode)) {
        printError("dossier du programme introuvable : « " + folder + " »");
        return kExitRefused;
    }
    const int port = options.port.value_or(portFromIniFile(folder + "/param.ini"));

    std::string error;
    FrameLog log;
    if (options.logPath && !log.open(*options.logPath, error)) {
        printError(error);
        return kExitRefused;
    }

    PtyLine line;
    if (!line.open(error)) {
        printError(error);
        return kExitFailure;
    }

    const int stopFd = installStopSignals();
    if (stopFd < 0) {
        printError(std::string("impossible de préparer l'arrêt (pipe) : ") + std::strerror(errno));
        return kExitFailure;
    }

    ComLink link(folder, lumiere::comName(port), line.slavePath());
    switch (link.create(error)) {
        case ComLink::Outcome::Refused:
            printError(error);
            return kExitRefused;
        case ComLink::Outcome::Failed:
            printError(error);
            return kExitFailure;
        case ComLink::Outcome::Replaced:
            printOut("Ancien lien " + lumiere::comName(port) + " remplacé.\n");
            break;
        case ComLink::Outcome::Created:
            break;
    }
    for (const std::string& other : link.namesDifferingInCase()) {
        printError("attention : « " + other + " » existe aussi dans le dossier ; Lumière " +
                   "pourrait l'ouvrir à la place de " + lumiere::comName(port) + ".");
    }
    printOut("Contrôleur virtuel prêt : " + lumiere::comName(port) + " -> " + line.slavePath() +
             " (dossier " + folder + ")\n");

    Simulator::Settings settings;
    settings.liveDisplay = !options.quiet && ::isatty(STDOUT_FILENO) == 1;
    settings.stopFd = stopFd;
    if (options.durationSeconds) {
        settings.stopAtNs =
            monotonicNs() + static_cast<std::int64_t>(*options.durationSeconds * kNanosPerSecond);
    }
    Simulator simulator(line, log, settings);
    const bool lineOk = simulator.run();
    simulator.closeDisplay();

    struct stat linkStat {};
    if (!link.removeIfOurs() && ::lstat(link.path().c_str(), &linkStat) == 0) {
        printError("le lien « " + link.path() +
                   " » ne mène plus à ce simulateur : il est laissé en place.");
    }
    printOut(formatSummary(simulator.timing(), simulator.strays()));
    return lineOk ? 0 : kExitFailure;
}
