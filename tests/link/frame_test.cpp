// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumiere {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Events = std::vector<LineEvent>;

constexpr LineEvent frame(std::uint8_t value) {
    return {LineEvent::Kind::Frame, value};
}
constexpr LineEvent stray(std::uint8_t value) {
    return {LineEvent::Kind::Stray, value};
}

Events decode(FrameDecoder& decoder, const Bytes& bytes) {
    Events events;
    decoder.feed(bytes, events);
    return events;
}

TEST(FrameDecoder, ValueByteMayEqualTheHeader) {
    FrameDecoder decoder;
    EXPECT_EQ(decode(decoder, {0x6E, 0x05, 0x6E, 0x6E, 0x6E, 0x6E, 0x6E, 0x00}),
              (Events{frame(0x05), frame(0x6E), frame(0x6E), frame(0x00)}));
    EXPECT_EQ(decoder.frames(), 4U);
    EXPECT_EQ(decoder.strays(), 0U);
    EXPECT_FALSE(decoder.awaitingValue());
}

TEST(FrameDecoder, StrayBytesAreReportedAndResynchronise) {
    FrameDecoder decoder;
    // Starting mid-frame (a lone value byte), then noise between two frames.
    EXPECT_EQ(decode(decoder, {0x05, 0x6E, 0x07, 0xFF, 0x00, 0x6E, 0x08}),
              (Events{stray(0x05), frame(0x07), stray(0xFF), stray(0x00), frame(0x08)}));
    EXPECT_EQ(decoder.frames(), 2U);
    EXPECT_EQ(decoder.strays(), 3U);
}

TEST(FrameDecoder, FrameSplitAcrossReads) {
    FrameDecoder decoder;
    EXPECT_TRUE(decode(decoder, {0x6E}).empty());
    EXPECT_TRUE(decoder.awaitingValue());
    // The header 0x6E arriving as the value of a pending frame is a value, not a new header.
    EXPECT_EQ(decode(decoder, {0x6E, 0x6E}), (Events{frame(0x6E)}));
    EXPECT_TRUE(decoder.awaitingValue());
    EXPECT_EQ(decode(decoder, {0x80, 0x6E}), (Events{frame(0x80)}));
    EXPECT_EQ(decode(decoder, {}), Events{});
    EXPECT_EQ(decode(decoder, {0x01}), (Events{frame(0x01)}));
    EXPECT_EQ(decoder.frames(), 3U);
}

}  // namespace
}  // namespace lumiere
