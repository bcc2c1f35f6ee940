// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for feeding Lumière the files a careless user, a broken disk or a wrong click can give
// it: generated garbage, a file size limit, a tiny file system, and the checks every table and
// every frame must pass afterwards.

#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "io/text_file.h"
#include "model/values.h"
#include "support/app_rig.h"
#include "text/lines.h"

namespace lumiere::test {

// Every byte value once, 0x00 to 0xFF.
inline std::string allByteValues() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    return bytes;
}

// The same bytes on every run and every machine (the engine's output is fixed by the standard).
inline std::string randomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 engine(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(engine() & 0xFF);
    return bytes;
}

// `line` + CR LF, `count` times.
inline std::string repeatedLines(std::string_view line, std::size_t count) {
    std::string out;
    out.reserve((line.size() + 2) * count);
    for (std::size_t i = 0; i < count; ++i) {
        out += line;
        out += "\r\n";
    }
    return out;
}

// Writes `size` bytes made of `block` repeated, without holding them all in memory.
inline void writeRepeated(const std::string& path, const std::string& block, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    for (std::size_t written = 0; written < size; written += block.size()) {
        const std::size_t n = std::min(block.size(), size - written);
        ASSERT_EQ(std::fwrite(block.data(), 1, n, file), n);
    }
    std::fclose(file);
}

// The lines of a file as the user sees them in an editor that knows CR LF and lone CR: at most
// `maxLines`, each cut at the line length limit.
inline std::vector<std::string> expectedLines(std::string_view bytes, std::size_t maxLines) {
    std::vector<std::string> lines;
    // LF ends the lines of a text that holds no CR at all.
    const char end = bytes.find('\r') == std::string_view::npos ? '\n' : '\r';
    std::size_t start = 0;
    while (start < bytes.size() && lines.size() < maxLines) {
        std::size_t stop = bytes.find(end, start);
        if (stop == std::string_view::npos) stop = bytes.size();
        lines.emplace_back(bytes.substr(start, std::min(stop - start, kMaxLineLength)));
        start = stop + 1;
        if (end == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return lines;
}

// Elements 0 to 255 of a table: element 0 never holds a line, no line is over the limit.
inline void expectTableBounds(const std::array<std::string, kTableSize>& table,
                              const std::string& what) {
    EXPECT_EQ(table[0], "") << what << ": element 0 was written";
    for (int i = 1; i < kTableSize; ++i) {
        EXPECT_LE(table[i].size(), kMaxLineLength) << what << ": element " << i;
    }
}

// The bytes this process read from files while `action` ran ("rchar" of /proc/self/io): how far
// a load went into a file, whatever the speed of the machine.
inline long long bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") return value;
    }
    return -1;
}
template <typename Action>
long long bytesReadDuring(Action&& action) {
    const long long before = bytesRead();
    action();
    return bytesRead() - before;
}

// A load never reads past this much of a file (io/text_file.h), and a little more for param.ini
// and the folder listings it may do on the way.
inline constexpr long long kBoundedLoad = static_cast<long long>(kMaxReadBytes) + (1 << 20);

// The sequence player's ticks: with an effect chosen (buttons 0 to 8) every tick sends exactly
// one frame, with the other buttons none; every frame carries a pattern byte.
inline void expectOneByteFramePerTick(AppRig& rig, int ticks, const std::string& what) {
    rig.port.clear();
    for (int t = 0; t < ticks; ++t) rig->Timer1_Timer();
    const std::vector<int> frames = rig.port.values();
    const int perTick = rig.values().choix <= 8 ? 1 : 0;
    EXPECT_EQ(frames.size(), static_cast<std::size_t>(perTick * ticks))
        << what << ", button " << rig.values().choix;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(frames[i] >= 0 && frames[i] <= 255) << what << ": frame " << i;
    }
}

// Lowers the size any file of this process may reach, for the lifetime of the object. The
// signal the kernel sends on the overflow is ignored meanwhile, as the program itself does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit tiny = saved_;
        tiny.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &tiny) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return active_; }

private:
    rlimit saved_{};
    sighandler_t oldHandler_ = SIG_DFL;
    bool active_ = false;
};

// A 16 KiB tmpfs mounted on a fresh folder (root only), unmounted with the object.
class TinyDisk {
public:
    explicit TinyDisk(const std::string& folder) : folder_(folder) {
        std::filesystem::create_directory(folder_);
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=16k") == 0;
    }
    ~TinyDisk() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& folder() const { return folder_; }

    // Writes a filler file until the disk refuses more; true when it is full.
    bool fill() const {
        std::FILE* file = std::fopen((folder_ + "/filler").c_str(), "wb");
        if (file == nullptr) return false;
        std::setvbuf(file, nullptr, _IONBF, 0);
        const std::string chunk(512, 'f');
        bool full = false;
        for (int i = 0; i < 1024 && !full; ++i) {
            full = std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size();
        }
        std::fclose(file);
        return full;
    }
    void makeRoom() const { std::filesystem::remove(folder_ + "/filler"); }

private:
    std::string folder_;
    bool mounted_ = false;
};

// True when a temporary file of an interrupted write is left in the folder.
inline bool temporaryFilesLeft(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".lumiere-", 0) == 0) return true;
    }
    return false;
}

}  // namespace lumiere::test
