// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumiere {

// Where a player sends its frames: `envoi` with a value 0 to 255, rounded half to even. The lamp
// link is one; the show is another, which gives every frame to the link and to the other outputs
// (DMX).
class FrameSender {
public:
    virtual void envoi(double value) = 0;

protected:
    ~FrameSender() = default;
};

}  // namespace lumiere
