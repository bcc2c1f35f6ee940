// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumiere {

// What the sequence runner may do with the command buttons: click one of them on the user's
// behalf, exactly as a click of the user. The command buttons implement it.
class ButtonClicker {
public:
    virtual void Command11_Click(int index) = 0;

protected:
    ~ButtonClicker() = default;
};

}  // namespace lumiere
