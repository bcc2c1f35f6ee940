// SPDX-License-Identifier: GPL-3.0-or-later
#include "sequences/sequence_files.h"

#include <cerrno>

#include "io/folder.h"
#include "io/text_file.h"
#include "text/cp1252.h"
#include "text/lines.h"
#include "text/number.h"
#include "text/trim.h"

namespace lumiere {
namespace {

constexpr int kMaxSteps = kTableSize - 1;  // elements 1 to 255

// Reads the file into a copy of the table, so a failed read changes nothing.
template <typename Elements, typename Reader>
int loadInto(const std::string& path, Elements& table, Reader reader) {
    Elements copy = table;
    const int err = readFile(path, [&](std::istream& in) { reader(in, copy); });
    if (err == 0) table = std::move(copy);
    return err;
}

}  // namespace

int readAnimation(std::istream& in, Table& etape) {
    LineReader reader(in);
    std::string line;
    int n = 1;
    while (n <= kMaxSteps && reader.next(line)) etape[n++] = decodeFileText(line);
    return n - 1;
}

int readSequence(std::istream& in, Table& sequence) {
    LineReader reader(in);
    std::string line;
    int n = 1;
    while (n <= kMaxSteps && reader.next(line)) {
        const std::string text = decodeFileText(line);
        if (!text.empty() && text.front() == ';') continue;
        sequence[n++] = std::string(trim(text, kSpaces));
    }
    return n - 1;
}

int readCycle(std::istream& in, Positions& position) {
    LineReader reader(in);
    std::string line;
    int n = 0;
    while (n < kPositionSize && reader.next(line)) position[n++] = line;
    return n;
}

std::string formatCycle(const KnobTops& tops) {
    std::string out;
    for (Twips top : tops) out += formatNumber(top) + "\r\n";
    return out;
}

int loadAnimation(const std::string& path, Table& etape) {
    return loadInto(path, etape, readAnimation);
}

int loadSequence(const std::string& path, Table& sequence) {
    return loadInto(path, sequence, readSequence);
}

int loadCycle(const std::string& path, Positions& position) {
    return loadInto(path, position, readCycle);
}

int saveCycle(const std::string& path, const KnobTops& tops) {
    return writeFileAtomically(path, formatCycle(tops));
}

std::string findCycleFile(const std::string& folder, const std::string& name) {
    // A name the file system cannot hold (a NUL inside) names no file, not a shorter one.
    if (name.find('\0') != std::string::npos) return {};
    const std::string exact = folder + "/" + name + ".txt";
    if (isRegularFile(exact)) return exact;
    for (const std::string& entry : entriesNamedIgnoringCase(folder, name + ".txt")) {
        const std::string path = folder + "/" + entry;
        if (isRegularFile(path)) return path;
    }
    return {};
}

}  // namespace lumiere
