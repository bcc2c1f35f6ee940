// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/text_file.h"

#include "io/descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <istream>
#include <streambuf>

namespace lumiere {
namespace {

class FdReader final : public std::streambuf {
public:
    FdReader(int fd, std::size_t limit) : fd_(fd), left_(limit) {}
    int error() const { return error_; }

protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        if (left_ == 0) return traits_type::eof();
        ssize_t n;
        do {
            n = ::read(fd_, buffer_.data(), std::min(buffer_.size(), left_));
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            if (n < 0) error_ = errno;
            return traits_type::eof();
        }
        left_ -= static_cast<std::size_t>(n);
        setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
        return traits_type::to_int_type(*gptr());
    }

private:
    int fd_;
    std::size_t left_;
    int error_ = 0;
    std::array<char, 64 * 1024> buffer_{};
};

// Opens a regular file for reading; O_NONBLOCK keeps a FIFO without writer from blocking the open.
int openRegular(const std::string& path, int& fd) {
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile;
        ::close(fd);
        fd = -1;
        return err;
    }
    return 0;
}

// The folder part of a path ("." when there is none).
std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

}  // namespace

int readFile(const std::string& path, const std::function<void(std::istream&)>& read) {
    int fd = -1;
    if (const int err = openRegular(path, fd); err != 0) return err;
    Descriptor file(fd);
    FdReader reader(file.get(), kMaxReadBytes);
    std::istream in(&reader);
    read(in);
    return reader.error();
}

int readFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    int fd = -1;
    if (const int err = openRegular(path, fd); err != 0) return err;
    Descriptor file(fd);
    bytes.clear();
    std::array<char, 64 * 1024> chunk{};
    for (;;) {
        const ssize_t n = ::read(file.get(), chunk.data(), chunk.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return 0;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) return EFBIG;
        bytes.append(chunk.data(), static_cast<std::size_t>(n));
    }
}

int writeFileAtomically(const std::string& path, std::string_view bytes) {
    // Write through a link to the file it names, so a linked param.ini stays linked.
    std::string target = path;
    if (char resolved[PATH_MAX]; ::realpath(path.c_str(), resolved) != nullptr) target = resolved;

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return EISDIR;
    // A pipe or a device (a serial port linked beside the program) is never replaced by a file.
    if (exists && !S_ISREG(st.st_mode)) return kNotRegularFile;
    mode_t mode = 0;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temp = folderOf(target) + "/.lumiere-XXXXXX";
    Descriptor file(::mkostemp(temp.data(), O_CLOEXEC));
    if (file.get() < 0) return errno;
    int err = writeAll(file.get(), bytes);
    if (err == 0 && ::fchmod(file.get(), mode) != 0) err = errno;
    if (err == 0 && ::fsync(file.get()) != 0) err = errno;
    if (err == 0) err = file.close();
    if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
    if (err != 0) ::unlink(temp.c_str());
    return err;
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace lumiere
