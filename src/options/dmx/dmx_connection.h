// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The connection to the lighting daemon, as the DMX sender sees it. The daemon answers every
// frame, in the order sent: "applied" once the universe holds it, "refused" when it has no such
// universe. Only the sender's thread uses a connection; no call may wait on the daemon (sending
// a few frames ahead of the answers must fit in the socket's buffer).

#include <cstddef>
#include <functional>
#include <memory>

#include "dmx/dmx_frame.h"

namespace lumiere {

struct DmxReplies {
    std::size_t applied = 0;
    std::size_t refused = 0;
    bool lastApplied = true;  // the outcome of the newest answer among them
    bool lost = false;        // the daemon closed the connection (stopped, killed, restarted)
    bool garbled = false;     // what came back is not the daemon's protocol (lost too)
};

class DmxConnection {
public:
    virtual ~DmxConnection() = default;

    // Connects; false when the daemon does not answer.
    virtual bool open() = 0;
    virtual void close() = 0;
    // Sends one frame; false when the connection is lost.
    virtual bool send(const DmxFrame& frame) = 0;
    // The answers that have arrived since the last call, without waiting.
    virtual DmxReplies collect() = 0;
    // A descriptor that turns readable when answers arrive or the connection ends; -1 when closed.
    virtual int descriptor() const = 0;
};

// Opens the connection the output uses. An empty connector: this build has no way to reach the
// daemon (built without OLA).
using DmxConnector = std::function<std::unique_ptr<DmxConnection>()>;

}  // namespace lumiere
