// SPDX-License-Identifier: GPL-3.0-or-later
// System errors are said in French words, never as a bare number.

#include "text/french.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "text/cp1252.h"

namespace lumiere {
namespace {

TEST(French, EveryErrorIsSaidInWords) {
    EXPECT_EQ(toUtf8(describeError(ELOOP)), "trop de liens symboliques (un lien mène à lui-même)");
    for (int errnum = 1; errnum < 140; ++errnum) {
        const std::string text = toUtf8(describeError(errnum));
        EXPECT_FALSE(text.empty()) << errnum;
        EXPECT_TRUE(
            std::none_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
            << errnum << ": " << text;
    }
}

}  // namespace
}  // namespace lumiere
