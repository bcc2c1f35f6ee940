// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/show.h"

#include "text/number.h"

namespace lumiere {

Show::Show(Form1& form, AppValues& values, LampLink& link, Platform& platform)
    : form_(form),
      values_(values),
      link_(link),
      player_(form, values, *this, platform),
      blinker_(form, values, *this) {}

void Show::envoi(double value) {
    link_.envoi(value);
    const double byte = roundHalfEven(value);
    if (byte >= 0 && byte <= 255) mirror(static_cast<std::uint8_t>(byte));
}

void Show::mirror(std::uint8_t byte) {
    for (LampMirror* mirror : mirrors_) mirror->lamps(byte);
}

void Show::lampsClicked() {
    if (!timer1_.enabled) mirror(lampByte(form_));
}

void Show::Timer1_Timer() {
    bool steps = true;
    for (TickGate* gate : gates_) steps = gate->tickSteps() && steps;
    if (steps) step();
}

void Show::step() {
    if (timer1_.enabled) player_.Timer1_Timer();
}

void Show::Timer4_Timer() {
    if (timer4_.enabled) blinker_.Timer4_Timer();
}

void Show::play() {
    timer4_.enabled = false;
    timer1_.enabled = true;
}

void Show::handBack() {
    timer1_.enabled = false;
    if (values_.marche == 1) timer4_.enabled = true;
}

void Show::blinkChannels() {
    timer1_.enabled = false;
    timer4_.enabled = true;
}

void Show::stopBlinker() {
    timer4_.enabled = false;
}

void Show::switchOn() {
    timer4_.enabled = true;
}

void Show::switchOff() {
    timer4_.enabled = false;
    timer1_.enabled = false;
    envoi(0);
    for (Label& lamp : form_.lampe) lamp.backColor = colour::kLightGrey;
}

void Show::end() {
    timer1_.enabled = false;
    timer4_.enabled = false;
    envoi(0);
    link_.seal();
}

}  // namespace lumiere
