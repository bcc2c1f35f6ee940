// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures.h"

#include <cstdio>

namespace lumiere::bench {

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void Table::print() const {
    std::size_t w[3] = {6, 8, 6};
    for (const Row& r : rows_) {
        w[0] = std::max(w[0], r.figure.size());
        w[1] = std::max(w[1], r.measured.size());
        w[2] = std::max(w[2], r.target.size());
    }
    std::printf("\n| %-*s | %-*s | %-*s | %s\n", int(w[0]), "figure", int(w[1]), "measured",
                int(w[2]), "target", "verdict |");
    std::printf("|%s|%s|%s|---------|\n", std::string(w[0] + 2, '-').c_str(),
                std::string(w[1] + 2, '-').c_str(), std::string(w[2] + 2, '-').c_str());
    for (const Row& r : rows_) {
        std::printf("| %-*s | %-*s | %-*s | %-7s |\n", int(w[0]), r.figure.c_str(), int(w[1]),
                    r.measured.c_str(), int(w[2]), r.target.c_str(), r.verdict.c_str());
    }
}

int Table::missed() const {
    int n = 0;
    for (const Row& r : rows_) n += r.verdict == "MISSED";
    return n;
}

}  // namespace lumiere::bench
