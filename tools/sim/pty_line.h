// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace lumiere::sim {

// The pseudo-terminal that stands in for the controller's serial line. Lumière writes on the
// slave side (through the COM<N> link); the simulator reads the master side.
//
// The simulator keeps a slave descriptor of its own open for its whole life: Lumière opens and
// closes the port for every frame, and without this each close would be the last one, hanging
// the line up (reads on the master then fail with EIO until someone opens the slave again).
class PtyLine {
public:
    PtyLine() = default;
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;
    ~PtyLine();

    // Creates the pair and sets the line raw at 9600 8N1, so no byte of a frame is translated
    // even if the writer does not set the line raw itself. On failure returns false and sets
    // `error` to a French message.
    bool open(std::string& error);

    int masterFd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

    // Reads what is waiting on the master without blocking. Returns the byte count, 0 when
    // nothing is waiting, -1 on a real error (errno set).
    long readAvailable(std::span<std::uint8_t> buffer);

    // A writer that dies while holding the line in exclusive mode (TIOCEXCL) leaves the flag set
    // here, because our own descriptor keeps the line open; on a real serial port the last close
    // would drop it. Clears such a flag and returns true when there was one.
    bool clearExclusiveMode();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace lumiere::sim
