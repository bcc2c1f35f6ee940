// SPDX-License-Identifier: GPL-3.0-or-later
// Lumière: a light-show controller for an 8-lamp controller on a serial port.
//
//   lumiere [--dossier DOSSIER] [--help] [--version] [options de Qt]

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <csignal>
#include <iostream>

#include "app/application.h"
#include "folders/command_line.h"
#include "folders/program_folder.h"
#include "link/posix_serial_port.h"
#include "program/program_options.h"
#include "text/cp1252.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/termination_watch.h"

namespace {

// Qt's own dialogs (the file dialogs, their questions) speak French like the rest.
void speakFrench(QTranslator& translator) {
    if (translator.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&translator);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    // A termination signal during start-up waits for the window, which then ends the show.
    lumiere::ui::TerminationWatch::holdSignals();
    // Past a file-size limit a write must fail (and the old file stay), not end the program.
    std::signal(SIGXFSZ, SIG_IGN);

    namespace folders = lumiere::folders;
    const folders::CommandLine line = folders::parseCommandLine({argv, argv + argc});
    if (const auto code = folders::answerCommandLine(line, "lumiere", std::cout, std::cerr))
        return *code;

    folders::ArgumentVector qtArguments(line.qtArguments);
    QApplication qapp(qtArguments.argc(), qtArguments.argv());
    QApplication::setApplicationName(QStringLiteral("Lumière"));
    QApplication::setDesktopFileName(QStringLiteral("lumiere"));
    lumiere::ui::applyLook();
    QTranslator qtFrench;
    speakFrench(qtFrench);

    // The folder of param.ini, the animations, the sequences and the pictures.
    const folders::ProgramFolder folder =
        folders::resolveProgramFolder(folders::currentEnvironment(), line.folder);
    if (!folder.ok()) {
        std::cerr << "lumiere : " << folder.error << "\n";
        lumiere::ui::TerminationWatch::releaseSignals();  // Ctrl-C closes the message too
        QMessageBox::critical(nullptr, QStringLiteral("Lumière"),
                              QString::fromStdString(folder.error));
        return 1;
    }
    for (const std::string& notice : folder.notices) std::cerr << "lumiere : " << notice << "\n";

    // The options beyond the desk, in the order of the Options menu.
    namespace ui = lumiere::ui;
    const std::vector<ui::OptionModule> options = lumiere::programOptions();

    lumiere::ui::QtPlatform platform(folder.path);
    lumiere::PosixSerialPort port;
    lumiere::Application app(platform, port, ui::optionFactories(options));
    lumiere::ui::MainWindow window(app, platform, options);
    platform.setOwner(&window);
    lumiere::ui::TerminationWatch watch([&app] { app.n_quit_Click(); });
    app.Form_Load();
    for (const std::string& notice : folder.notices) app.note(lumiere::fromUtf8(notice));
    window.show();
    return QApplication::exec();
}
