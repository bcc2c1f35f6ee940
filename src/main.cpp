// Lumière: a light-show controller for an 8-lamp controller on a serial port.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>

#include "app/application.h"
#include "link/posix_serial_port.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/termination_watch.h"

int main(int argc, char* argv[]) {
    // Past a file-size limit a write must fail (and the old file stay), not end the program.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumière"));
    lumiere::ui::applyLook();
    // Qt's own dialogs (the file dialogs, their questions) speak French like the rest.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtFrench);
    }

    lumiere::ui::QtPlatform platform;
    lumiere::PosixSerialPort port;
    lumiere::Application app(platform, port);
    lumiere::ui::MainWindow window(app, platform);
    platform.setOwner(&window);
    lumiere::ui::TerminationWatch watch([&app] { app.n_quit_Click(); });
    app.Form_Load();
    window.show();
    return QApplication::exec();
}
