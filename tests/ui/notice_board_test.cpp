// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar's notices: none vanishes before it can be read, the newest always shows.

#include "ui/notice_board.h"

#include <gtest/gtest.h>

namespace lumiere::ui {
namespace {

using Lines = std::vector<std::string>;

TEST(NoticeBoard, RecentNoticesStayInSightAndTheNewestStaysUntilAnother) {
    NoticeBoard board;
    EXPECT_TRUE(board.shown(0).empty());
    // Two corrections of param.ini at start-up, then the DMX output's state half a second later.
    board.said("Univers=-1 corrigé | Canal=900 corrigé", 10, "14:05:09");
    board.said("OLA reçoit les lampes", 10.5, "14:05:10");
    EXPECT_EQ(board.shown(11),
              (Lines{"OLA reçoit les lampes", "Canal=900 corrigé", "Univers=-1 corrigé"}));
    EXPECT_EQ(board.shown(10 + NoticeBoard::kReadSeconds), (Lines{"OLA reçoit les lampes"}));
    EXPECT_EQ(board.shown(1000), (Lines{"OLA reçoit les lampes"}));
    EXPECT_EQ(board.history().front(), "14:05:09  Univers=-1 corrigé");
    for (int i = 0; i < 30; ++i) board.said("n" + std::to_string(i), 2000 + i, "");
    EXPECT_EQ(board.history().size(), NoticeBoard::kHistory);
    EXPECT_EQ(board.shown(2029).size(), NoticeBoard::kShown);
}

}  // namespace
}  // namespace lumiere::ui
