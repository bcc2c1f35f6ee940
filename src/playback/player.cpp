// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "link/frame_sender.h"
#include "model/platform.h"
#include "playback/binaire.h"
#include "text/number.h"

namespace lumiere {
namespace {

constexpr int kInsideOut[] = {24, 36, 66, 129};
constexpr int kOutsideIn[] = {129, 66, 36, 24, 36, 66, 129};
constexpr int kDoubleChaser[] = {192, 96, 48, 24, 12, 6, 3, 6, 12, 24, 48, 96, 192};

}  // namespace

void Player::Timer1_Timer() {
    toggleLamp(form_.lampe[8]);
    switch (values_.choix) {
        case 0:
        case 1:
        case 2:
            stepList();
            break;
        case 3:
            table(kInsideOut, std::size(kInsideOut));
            break;
        case 4:
            table(kOutsideIn, std::size(kOutsideIn));
            break;
        case 5:
            random();
            break;
        case 6:
            chaser();
            break;
        case 7:
            table(kDoubleChaser, std::size(kDoubleChaser));
            break;
        case 8:
            oneWay();
            break;
        default:
            break;  // buttons 9 to 11 choose no pattern: nothing is sent
    }
    paint();
}

void Player::stepList() {
    // A list without "END" (or a start beyond it) runs on to element 255 and wraps to 1.
    if (rang_ <= 0 || rang_ >= kTableSize) rang_ = 1;
    if (values_.etape[rang_] == "END") rang_ = 1;
    // A step that does not fit a pattern byte is brought to the nearest one.
    motif_ = std::clamp(readNumber(values_.etape[rang_]), 0.0, 255.0);
    ++rang_;
    link_.envoi(motif_);
}

void Player::table(const int* entries, int count) {
    if (rang_ >= 0 && rang_ < count) motif_ = entries[rang_];
    ++rang_;
    if (rang_ >= count) rang_ = 0;
    link_.envoi(motif_);
}

void Player::random() {
    motif_ = std::floor(platform_.nextRandom() * 255);
    link_.envoi(motif_);
}

void Player::chaser() {
    if (motif_ == 0) motif_ = 1;
    if (rang_ < 8) motif_ *= 2;
    if (rang_ > 8) motif_ /= 2;
    ++rang_;
    if (rang_ >= 16) rang_ = 1;
    if (motif_ > 255) motif_ = 128;
    link_.envoi(motif_);
}

void Player::oneWay() {
    if (motif_ == 0) motif_ = 1;
    motif_ *= 2;
    if (motif_ > 255) motif_ = 1;
    link_.envoi(motif_);
}

void Player::paint() {
    const int value = static_cast<int>(std::clamp(roundHalfEven(motif_), 0.0, 255.0));
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(value));
    const std::string digits = binaire(hex);
    for (int i = 0; i < kChannels; ++i) {
        const bool on = i < static_cast<int>(digits.size()) && digits[i] == '1';
        form_.lampe[i].backColor = on ? colour::kRed : colour::kLightGrey;
    }
}

}  // namespace lumiere
