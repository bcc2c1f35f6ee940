// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picture_files.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPixmap>

#include "io/text_file.h"
#include "text/french.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

PictureLoad decode(const std::string& bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // The format is found from the contents, so ".dib" files read as the bitmaps they are.
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() &&
        static_cast<long long>(size.width()) * size.height() > kMaxPicturePixels) {
        return {nullptr, kPictureTooLarge};
    }
    const QImage image = reader.read();
    if (image.isNull()) return {nullptr, kNotAPicture};
    return {std::make_shared<QtPicture>(QPixmap::fromImage(image)), 0};
}

}  // namespace

PictureLoad PictureFiles::load(const std::string& path) {
    struct stat st {};
    Identity identity;
    const bool known = ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    if (known) {
        identity = {
            static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
            static_cast<long long>(st.st_size),
            static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec};
        if (const auto it = kept_.find(path); it != kept_.end() && it->second.identity == identity)
            return {it->second.picture, 0};
    }

    std::string bytes;
    if (const int err = readFileBytes(path, kMaxPictureBytes, bytes); err != 0) {
        kept_.erase(path);
        return {nullptr, err};
    }
    PictureLoad load = decode(bytes);
    if (!load.picture || !known) {
        kept_.erase(path);
        return load;
    }
    if (kept_.size() >= kKept) kept_.clear();
    kept_[path] = {identity, load.picture};
    return load;
}

}  // namespace lumiere::ui
