// lumiere-artwork <runtime-dir> <builtin-dir>
//
// Paints every picture of Lumière and writes it as a 24-bit BMP: the files shipped beside the
// program into <runtime-dir>, the pictures embedded in the program into <builtin-dir>.

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <QTextStream>
#include <vector>

#include "artwork.h"

namespace {

struct Picture {
    QString directory;
    QString name;
    QImage image;
};

bool writeBmp(const Picture& picture) {
    // The ".dib" files are BMP files too, so the format is named rather than guessed from the
    // extension. RGB32 makes Qt write plain 24-bit pixels.
    const QString path = QDir(picture.directory).filePath(picture.name);
    return picture.image.convertToFormat(QImage::Format_RGB32).save(path, "BMP");
}

}  // namespace

int main(int argc, char** argv) {
    // Runs during the build, where there is no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "usage: lumiere-artwork <runtime-dir> <builtin-dir>\n";
        return 2;
    }
    const QString runtimeDir = args.at(1);
    const QString builtinDir = args.at(2);
    for (const QString& dir : {runtimeDir, builtinDir}) {
        if (!QDir().mkpath(dir)) {
            err << "lumiere-artwork: cannot create " << dir << "\n";
            return 1;
        }
    }
    for (const char* family : {"Liberation Sans", "Liberation Serif"}) {
        if (!QFontDatabase::hasFamily(QString::fromLatin1(family)))
            err << "lumiere-artwork: warning: font " << family
                << " not found (fonts-liberation), using a substitute\n";
    }

    using namespace lumiere::artwork;
    const QImage face = buttonFace(false);
    const QImage knob = knobCap(false);
    const QImage switchOff = toggleSwitch(false);
    const QImage deskImage = desk();
    const std::vector<Picture> pictures{
        {runtimeDir, QStringLiteral("bouton1.dib"), face},
        {runtimeDir, QStringLiteral("bouton2.dib"), buttonFace(true)},
        {runtimeDir, QStringLiteral("bout_off.dib"), knob},
        {runtimeDir, QStringLiteral("bout_on.dib"), knobCap(true)},
        {runtimeDir, QStringLiteral("int2_off.dib"), switchOff},
        {runtimeDir, QStringLiteral("int2_on.dib"), toggleSwitch(true)},
        {runtimeDir, QStringLiteral("pupitre.bmp"), deskImage},
        {builtinDir, QStringLiteral("desk.bmp"), deskImage},
        {builtinDir, QStringLiteral("knob.bmp"), knob},
        {builtinDir, QStringLiteral("switch.bmp"), switchOff},
        {builtinDir, QStringLiteral("face.bmp"), face},
        {builtinDir, QStringLiteral("banner.bmp"), banner()},
        {builtinDir, QStringLiteral("title.bmp"), title()},
        {builtinDir, QStringLiteral("background.bmp"), controlPanel()},
    };
    for (const Picture& picture : pictures) {
        if (!writeBmp(picture)) {
            err << "lumiere-artwork: cannot write "
                << QDir(picture.directory).filePath(picture.name) << "\n";
            return 1;
        }
    }
    return 0;
}
