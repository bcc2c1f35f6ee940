// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Summaries of measured durations, and the table the benchmark prints.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace lumiere::bench {

struct Spread {
    double median = 0;
    double p99 = 0;
    double max = 0;
};

// Median, 99th percentile and maximum of a set of values (nearest rank).
inline Spread spreadOf(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    const auto rank = [&](double q) {
        const auto i = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5);
        return values[std::min(i, values.size() - 1)];
    };
    return {rank(0.5), rank(0.99), values.back()};
}

class Table {
public:
    void add(std::string figure, std::string measured, std::string target, bool met) {
        rows_.push_back(
            {std::move(figure), std::move(measured), std::move(target), met ? "met" : "MISSED"});
    }
    void note(std::string figure, std::string measured) {
        rows_.push_back({std::move(figure), std::move(measured), "", ""});
    }
    void print() const;
    int missed() const;

private:
    struct Row {
        std::string figure, measured, target, verdict;
    };
    std::vector<Row> rows_;
};

std::string fixed(double value, int decimals);

}  // namespace lumiere::bench
