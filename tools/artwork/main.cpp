// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "model/picture_names.h"
#include "pictures/builtin_pictures.h"

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

    using namespace lumiere;
    using namespace lumiere::artwork;
    const QImage face = buttonFace(false);
    const QImage knob = knobCap(false);
    const QImage switchOff = toggleSwitch(false);
    const QImage deskImage = desk();
    namespace names = pictures;
    const auto file = [](std::string_view name) {
        return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    };
    const std::vector<Picture> written{
        {runtimeDir, file(names::kButtonUp), face},
        {runtimeDir, file(names::kButtonDown), buttonFace(true)},
        {runtimeDir, file(names::kKnobPlain), knob},
        {runtimeDir, file(names::kKnobLit), knobCap(true)},
        {runtimeDir, file(names::kSwitchOff), switchOff},
        {runtimeDir, file(names::kSwitchOn), toggleSwitch(true)},
        {runtimeDir, file(names::kDesk), deskImage},
        {builtinDir, QString::fromLatin1(builtin_art::kDesk), deskImage},
        {builtinDir, QString::fromLatin1(builtin_art::kKnob), knob},
        {builtinDir, QString::fromLatin1(builtin_art::kSwitch), switchOff},
        {builtinDir, QString::fromLatin1(builtin_art::kFace), face},
        {builtinDir, QString::fromLatin1(builtin_art::kBanner), banner()},
        {builtinDir, QString::fromLatin1(builtin_art::kTitle), title()},
        {builtinDir, QString::fromLatin1(builtin_art::kBackground), controlPanel()},
    };
    for (const Picture& picture : written) {
        if (!writeBmp(picture)) {
            err << "lumiere-artwork: cannot write "
                << QDir(picture.directory).filePath(picture.name) << "\n";
            return 1;
        }
    }
    return 0;
}
