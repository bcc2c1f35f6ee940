// SPDX-License-Identifier: GPL-3.0-or-later
// The files written by lumiere-artwork, checked the way the program reads them: real 24-bit
// BMP files of the size the window expects, and the built-in copies reachable as resources.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include "pictures/builtin_pictures.h"

namespace {

struct Expected {
    const char* name;
    int width;
    int height;
};

constexpr Expected kRuntimeFiles[] = {
    {"bouton1.dib", 111, 23},  {"bouton2.dib", 111, 23}, {"bout_off.dib", 33, 21},
    {"bout_on.dib", 33, 21},   {"int2_off.dib", 30, 41}, {"int2_on.dib", 30, 41},
    {"pupitre.bmp", 691, 343},
};

constexpr Expected kBuiltinFiles[] = {
    {"desk.bmp", 691, 343},       {"knob.bmp", 33, 21},    {"switch.bmp", 30, 41},
    {"face.bmp", 111, 23},        {"banner.bmp", 687, 22}, {"title.bmp", 241, 21},
    {"background.bmp", 690, 103},
};

QString programFile(const char* name) {
    QString dir = qEnvironmentVariable("LUMIERE_PROGRAM_DIR");
    if (dir.isEmpty()) dir = QStringLiteral(LUMIERE_TEST_PROGRAM_DIR);
    return QDir(dir).filePath(QString::fromLatin1(name));
}

QString builtinFile(const char* name) {
    return QDir(QStringLiteral(LUMIERE_TEST_BUILTIN_DIR)).filePath(QString::fromLatin1(name));
}

// Checks the BMP headers byte by byte, then that Qt reads the pixels back.
void expectBmp(const QString& path, int width, int height) {
    SCOPED_TRACE(path.toStdString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    ASSERT_GE(data.size(), 54);
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    EXPECT_EQ(data.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes + 2), static_cast<quint32>(data.size()));
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes + 18), width);
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes + 22), height);  // positive: rows bottom-up
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes + 28), 24);     // bits per pixel
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes + 30), 0u);     // uncompressed

    QImage image;
    EXPECT_TRUE(image.loadFromData(data, "BMP"));
    EXPECT_EQ(image.size(), QSize(width, height));
}

QImage loadBmp(const QString& path) {
    QImage image;
    image.load(path, "BMP");
    return image;
}

}  // namespace

TEST(GeneratedFiles, RuntimeAndBuiltinFilesAreBmpOfTheirSize) {
    for (const Expected& e : kRuntimeFiles) expectBmp(programFile(e.name), e.width, e.height);
    for (const Expected& e : kBuiltinFiles) expectBmp(builtinFile(e.name), e.width, e.height);
}

TEST(GeneratedFiles, BuiltinPicturesAreTheDefaultRuntimeOnes) {
    const std::pair<const char*, const char*> same[] = {{"desk.bmp", "pupitre.bmp"},
                                                        {"knob.bmp", "bout_off.dib"},
                                                        {"switch.bmp", "int2_off.dib"},
                                                        {"face.bmp", "bouton1.dib"}};
    for (const auto& [builtin, runtime] : same) {
        SCOPED_TRACE(builtin);
        const QImage a = loadBmp(builtinFile(builtin));
        ASSERT_FALSE(a.isNull());
        EXPECT_EQ(a, loadBmp(programFile(runtime)));
    }
}

TEST(GeneratedFiles, EachStateOfAControlHasItsOwnPicture) {
    const std::pair<const char*, const char*> pairs[] = {{"bouton1.dib", "bouton2.dib"},
                                                         {"bout_off.dib", "bout_on.dib"},
                                                         {"int2_off.dib", "int2_on.dib"}};
    for (const auto& [off, on] : pairs) {
        SCOPED_TRACE(off);
        const QImage a = loadBmp(programFile(off));
        const QImage b = loadBmp(programFile(on));
        ASSERT_FALSE(a.isNull());
        ASSERT_FALSE(b.isNull());
        EXPECT_NE(a, b);
    }
}

TEST(BuiltinResources, EveryPictureIsEmbeddedAsGenerated) {
    const QStringList paths = lumiere::builtin_art::allPaths();
    ASSERT_EQ(paths.size(), 7);
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        QFile resource(path);
        ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
        EXPECT_EQ(resource.read(2), QByteArray("BM"));
        const QImage embedded(path);
        ASSERT_FALSE(embedded.isNull());
        const QString name = path.section(QLatin1Char('/'), -1);
        EXPECT_EQ(embedded, loadBmp(builtinFile(name.toLatin1().constData())));
    }
}
