// A stand-in for the Lumière window, to build and check the package before the program takes in
// the program folder rule and the device setting. It reads the command line and finds the
// program folder as Lumière does, sends one all-off frame to the device named in param.ini
// ([Port] Peripherique=), and shows a window until it is closed or stopped.

#include <QApplication>
#include <QLabel>
#include <iostream>

#include "devices/device_check.h"
#include "folders/command_line.h"
#include "folders/program_folder.h"
#include "settings/profile.h"
#include "text/cp1252.h"

int main(int argc, char** argv) {
    using namespace lumiere;
    const folders::CommandLine line =
        folders::parseCommandLine(std::vector<std::string>(argv, argv + argc));
    if (const auto code = folders::answerCommandLine(line, "lumiere", std::cout, std::cerr)) {
        return *code;
    }
    folders::ArgumentVector qtArguments(line.qtArguments);
    QApplication app(qtArguments.argc(), qtArguments.argv());

    const folders::ProgramFolder folder =
        folders::resolveProgramFolder(folders::currentEnvironment(), line.folder);
    if (!folder.ok()) {
        std::cerr << "lumiere : " << folder.error << "\n";
        return 1;
    }
    for (const std::string& notice : folder.notices) std::cerr << "lumiere : " << notice << "\n";

    Profile profile;
    loadProfile(folder.path + "/param.ini", profile);
    const std::string device = profile.read("Port", "Peripherique", 4096);
    std::string said = "Dossier du programme : " + folder.path;
    if (!device.empty()) {
        said += "\n" + toUtf8(devices::tryDevice(device).message);
        std::cerr << "lumiere : " << said << "\n";
    }
    QLabel window(QString::fromStdString(said));
    window.setWindowTitle(QStringLiteral("Lumière"));
    window.show();
    return QApplication::exec();
}
