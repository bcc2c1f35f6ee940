// SPDX-License-Identifier: GPL-3.0-or-later
// lumiere-icon <dossier>
//
// Writes the application icon as <dossier>/<N>x<N>/apps/lumiere.png for N = 48, 128 and 256:
// the layout of the hicolor icon theme, so the folder installs as it is.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

#include "icon.h"

int main(int argc, char** argv) {
    // Runs during the build, where there is no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage : lumiere-icon <dossier>\n";
        return 2;
    }
    for (const int size : {48, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(1)).arg(size);
        const QString path = folder + QStringLiteral("/lumiere.png");
        if (!QDir().mkpath(folder) || !lumiere::artwork::appIcon(size).save(path, "PNG")) {
            err << "lumiere-icon : impossible d’écrire " << path << "\n";
            return 1;
        }
    }
    return 0;
}
