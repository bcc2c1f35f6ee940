// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures are read the way the text files are: only a regular file of a sane size, never
// blocking, and a refusal names its reason. A pipe named like a picture must not hold the window.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QImage>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/application.h"
#include "support/fake_serial_port.h"
#include "support/temp_folder.h"
#include "text/cp1252.h"
#include "text/french.h"
#include "ui/controls/picture_view.h"
#include "ui/desk_view.h"
#include "ui/form_view.h"
#include "ui/main_window.h"
#include "ui/picture_files.h"
#include "ui/qt_bridge.h"
#include "ui/qt_platform.h"

namespace lumiere {
namespace {

void writePicture(const std::string& path, int width, int height, const char* format = "BMP") {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    ASSERT_TRUE(image.save(QString::fromStdString(path), format));
}

// Runs `action` on this thread; should it hang on a pipe, a watchdog opens the pipe's other end
// after five seconds so that the test ends instead of hanging. True when the action returned by
// itself, that is without blocking on the pipe.
template <typename Action>
bool returnsWithoutBlocking(const std::string& fifo, Action&& action) {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::atomic<bool> unblocked = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (done.wait_for(lock, std::chrono::seconds(5), [&] { return finished; })) return;
        unblocked = true;
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    });
    action();
    {
        std::lock_guard lock(mutex);
        finished = true;
    }
    done.notify_one();
    watchdog.join();
    return !unblocked;
}

TEST(PictureFiles, ReadOnlyRegularFilesOfASaneSize) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.file("pipe.dib").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.file("folder.dib"));
    folder.write("text.dib", "ceci n'est pas une image\r\n");
    folder.write("huge.dib", std::string(ui::kMaxPictureBytes + 1, '\0'));
    QImage giant(3000, 3000, QImage::Format_Mono);  // small on disk, 9 megapixels decoded
    giant.fill(0);
    ASSERT_TRUE(giant.save(QString::fromStdString(folder.file("giant.png")), "PNG"));
    writePicture(folder.file("bout_on.dib"), 35, 22);

    ui::PictureFiles files;
    const std::pair<std::string, int> refused[] = {
        {folder.file("missing.dib"), ENOENT},    {folder.file("folder.dib"), EISDIR},
        {"/dev/zero", kNotRegularFile},          {folder.file("huge.dib"), EFBIG},
        {folder.file("text.dib"), kNotAPicture}, {folder.file("giant.png"), kPictureTooLarge},
    };
    for (const auto& [path, error] : refused) {
        const PictureLoad load = files.load(path);
        EXPECT_EQ(load.picture, nullptr) << path;
        EXPECT_EQ(load.error, error) << path;
    }
    PictureLoad pipe;
    EXPECT_TRUE(returnsWithoutBlocking(folder.file("pipe.dib"),
                                       [&] { pipe = files.load(folder.file("pipe.dib")); }));
    EXPECT_EQ(pipe.picture, nullptr);
    EXPECT_EQ(pipe.error, kNotRegularFile);

    const PictureLoad knob = files.load(folder.file("bout_on.dib"));
    ASSERT_NE(knob.picture, nullptr);
    const auto* qt = dynamic_cast<const ui::QtPicture*>(knob.picture.get());
    ASSERT_NE(qt, nullptr);
    EXPECT_EQ(qt->pixmap().size(), QSize(35, 22));
}

TEST(PictureFiles, KeepADecodedPictureUntilItsFileChanges) {
    TempFolder folder;
    const std::string path = folder.file("int2_on.dib");
    writePicture(path, 30, 41);
    ui::PictureFiles files;
    const Picture first = files.load(path).picture;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(files.load(path).picture, first);

    writePicture(path + ".new", 31, 41);  // replaced the way editors save: a new file renamed over
    std::filesystem::rename(path + ".new", path);
    const Picture second = files.load(path).picture;
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(dynamic_cast<const ui::QtPicture&>(*second).pixmap().width(), 31);

    std::filesystem::remove(path);
    EXPECT_EQ(files.load(path).error, ENOENT);
}

TEST(PictureFiles, APipeNamedAsAPictureNeverHoldsTheRealWindow) {
    TempFolder folder;
    folder.write("param.ini", "[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=pupitre.bmp\r\n");
    ASSERT_EQ(::mkfifo(folder.file("pupitre.bmp").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(folder.file("bout_on.dib").c_str(), 0600), 0);
    writePicture(folder.file("bout_off.dib"), 35, 22);

    ui::QtPlatform platform(folder.path());
    test::FakeSerialPort port;
    Application app(platform, port);
    ui::MainWindow window(app, platform);
    EXPECT_TRUE(returnsWithoutBlocking(folder.file("pupitre.bmp"), [&] { app.Form_Load(); }));
    window.show();
    const std::string notice = toUtf8(app.form().status.notice);
    EXPECT_NE(notice.find("pupitre.bmp : ce n’est pas un fichier ordinaire"), std::string::npos)
        << notice;
    EXPECT_EQ(app.form().Picture11.picture, nullptr);  // the built-in desk stays

    ui::PictureView* knob = window.formView()->desk()->knob(4);
    EXPECT_TRUE(returnsWithoutBlocking(folder.file("bout_on.dib"),
                                       [&] { QTest::mouseClick(knob, Qt::LeftButton); }));
    EXPECT_EQ(app.values().actif, 4);  // the handler's other steps still ran
    EXPECT_EQ(app.form().potar[4].borderStyle, 0);
    EXPECT_NE(app.form().potar[0].picture, nullptr);  // the plain faces did load
    EXPECT_EQ(app.form().potar[4].picture, app.form().potar[0].picture);
    const QString shown = window.statusBar()->findChildren<QLabel*>().first()->text();
    EXPECT_TRUE(shown.contains(QStringLiteral("bout_on.dib : ce n’est pas un fichier ordinaire")))
        << shown.toStdString();
}

}  // namespace
}  // namespace lumiere
