// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's actions on an open file: cells, drags, steps added, removed, copied and moved, the
// generators, undo and redo of each, the player's limit, and the preview through a fake desk.

#include <gtest/gtest.h>

#include <fstream>

#include "editor/animation_editor.h"
#include "editor/animation_preview.h"
#include "support/temp_folder.h"

namespace lumiere {
namespace {

class FakePreview final : public AnimationPreview {
public:
    std::string playPreview(const std::vector<std::string>& steps) override {
        if (!refusal.empty()) return refusal;
        played.push_back(steps);
        step = 0;
        return {};
    }
    void stopPreview() override {
        ++stops;
        step.reset();
    }
    std::optional<int> previewStep() const override { return step; }

    std::string refusal;
    std::vector<std::vector<std::string>> played;
    int stops = 0;
    std::optional<int> step;
};

std::vector<int> values(const AnimationEditor& editor) {
    std::vector<int> out;
    for (const Step& step : editor.document().steps()) out.push_back(step.value);
    return out;
}

class AnimationEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("animation1.txt", "1\r\n&H80\r\n3\r\nEND\r\n");
        ASSERT_TRUE(editor.open(folder.file("animation1.txt")));
    }
    TempFolder folder;
    FakePreview preview;
    AnimationEditor editor{&preview};
};

TEST_F(AnimationEditorTest, CellsFollowTheDeskLampOrder) {
    EXPECT_EQ(editor.cursor(), (GridCursor{0, 0}));
    EXPECT_TRUE(lit(128, 0));  // the desk's first lamp is bit 7
    EXPECT_TRUE(lit(1, 7));
    editor.switchCell();  // 1 → 129
    editor.moveCursor(1, 7);
    editor.switchCell();      // &H80 → 129
    editor.moveCursor(0, 5);  // stays on the last column
    EXPECT_EQ(editor.cursor(), (GridCursor{1, 7}));
    EXPECT_EQ(values(editor), (std::vector<int>{129, 129, 3}));
    editor.switchCell();  // back to 128: written as "&H80" again
    EXPECT_EQ(editor.document().bytes(), "129\r\n&H80\r\n3\r\nEND\r\n");
    EXPECT_TRUE(editor.modified());
}

TEST_F(AnimationEditorTest, EveryEditUndoesAndRedoes) {
    const std::string original = editor.document().bytes();
    std::vector<std::string> states{original};
    editor.switchCell();
    editor.insertStep();
    editor.duplicateStep();
    editor.moveStep(-1);
    editor.moveStep(-1);
    editor.deleteStep();
    editor.selectRows(0, 2);
    editor.applyGenerator(Generator::ChaseRight);
    editor.beginPaint(1, 0);
    editor.paintTo(1, 7);
    editor.endPaint();
    EXPECT_EQ(values(editor), (std::vector<int>{128, 255, 32, 3}));

    std::vector<std::string> seen;
    while (editor.canUndo()) {
        seen.push_back(editor.document().bytes());
        editor.undo();
    }
    EXPECT_EQ(seen.size(), 8u);
    EXPECT_EQ(editor.document().bytes(), original);
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(editor.cursor(), (GridCursor{0, 0}));
    while (editor.canRedo()) editor.redo();
    EXPECT_EQ(editor.document().bytes(), seen.front());
    editor.undo();
    editor.switchCell(0, 7);  // a new edit drops what could be redone
    EXPECT_FALSE(editor.canRedo());
}

TEST_F(AnimationEditorTest, StepsAddRemoveCopyAndMove) {
    editor.setCursor(1, 3);
    editor.insertStep();  // a dark step after the current one, which it becomes
    EXPECT_EQ(values(editor), (std::vector<int>{1, 128, 0, 3}));
    EXPECT_EQ(editor.cursor(), (GridCursor{2, 3}));
    editor.moveStep(1);
    EXPECT_EQ(values(editor), (std::vector<int>{1, 128, 3, 0}));
    EXPECT_EQ(editor.cursor().row, 3);
    editor.moveStep(1);  // already last: nothing, and no undo step
    editor.setCursor(1, 0);
    editor.duplicateStep();
    EXPECT_EQ(editor.document().bytes(), "1\r\n&H80\r\n&H80\r\n3\r\n0\r\nEND\r\n");
    editor.setCursor(1, 0);
    editor.deleteStep();
    editor.deleteStep();
    EXPECT_EQ(values(editor), (std::vector<int>{1, 3, 0}));
    editor.setCursor(2, 0);
    editor.deleteStep();  // the last one: the cursor stays on the new last
    EXPECT_EQ(editor.cursor().row, 1);
    editor.deleteStep();
    editor.deleteStep();
    EXPECT_EQ(editor.rows(), 0);
    EXPECT_EQ(editor.document().bytes(), "END\r\n");
    editor.insertStep();
    EXPECT_EQ(editor.document().bytes(), "0\r\nEND\r\n");
}

TEST_F(AnimationEditorTest, TheTableHoldsAtMost255Steps) {
    editor.selectRows(0, 0);
    while (editor.rows() < 255) editor.duplicateStep();
    editor.insertStep();
    editor.duplicateStep();
    EXPECT_EQ(editor.rows(), 255);
    EXPECT_TRUE(editor.statusIsError());
}

TEST_F(AnimationEditorTest, ADragIsOneUndoStepWithoutGaps) {
    for (int i = 0; i < 5; ++i) editor.insertStep();
    editor.setCursor(0, 0);
    const std::vector<int> before = values(editor);
    editor.beginPaint(0, 0);  // lamp 1 of step 1 is dark: the drag lights
    editor.paintTo(7, 7);     // one mouse event far away: the diagonal is painted
    editor.paintTo(7, 7);
    editor.endPaint();
    EXPECT_EQ(values(editor), (std::vector<int>{129, 64, 32, 16, 8, 4, 130, 3}));
    editor.beginPaint(3, 3);  // a lit cell: the drag darkens
    editor.paintTo(3, 0);
    editor.endPaint();
    EXPECT_EQ(values(editor)[3], 0);
    editor.undo();
    editor.undo();
    EXPECT_EQ(values(editor), before);
    editor.redo();
    editor.beginPaint(2, 6);  // a click is one undo step as well
    editor.endPaint();
    editor.undo();
    editor.undo();
    EXPECT_EQ(values(editor), before);
}

TEST_F(AnimationEditorTest, GeneratorsFillTheSelection) {
    for (int i = 0; i < 13; ++i) editor.insertStep();  // 16 steps
    editor.selectRows(0, 15);
    editor.applyGenerator(Generator::ChaseLeft);  // from the desk's last lamp towards its first
    EXPECT_EQ(values(editor),
              (std::vector<int>{1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128}));
    editor.applyGenerator(Generator::ChaseRight);
    EXPECT_EQ(values(editor)[0], 128);
    EXPECT_EQ(values(editor)[9], 64);
    editor.applyGenerator(Generator::BackAndForth);
    EXPECT_EQ(values(editor),
              (std::vector<int>{128, 64, 32, 16, 8, 4, 2, 1, 2, 4, 8, 16, 32, 64, 128, 64}));
    editor.selectRows(3, 1);  // the selection runs either way
    editor.applyGenerator(Generator::Invert);
    EXPECT_EQ(values(editor)[1], 191);
    EXPECT_EQ(values(editor)[3], 239);
    EXPECT_EQ(values(editor)[4], 8);
    editor.applyGenerator(Generator::Fill);
    EXPECT_EQ(values(editor)[2], 255);
    editor.setRandomSeed(7);
    editor.applyGenerator(Generator::Random);
    const std::vector<int> first = values(editor);
    editor.applyGenerator(Generator::Random);  // the next click draws another pattern
    EXPECT_NE(values(editor), first);
    editor.undo();
    EXPECT_EQ(values(editor), first);
    AnimationEditor again;  // the same seed draws the same pattern
    folder.write("b.txt", "0\r\n0\r\n0\r\n0\r\n");
    again.open(folder.file("b.txt"));
    again.selectRows(1, 3);
    again.setRandomSeed(7);
    again.applyGenerator(Generator::Random);
    const std::vector<int> drawn = values(again);
    EXPECT_EQ(std::vector<int>(drawn.begin() + 1, drawn.end()),
              std::vector<int>(first.begin() + 1, first.begin() + 4));
}

TEST_F(AnimationEditorTest, PreviewPlaysTheGridAndFollowsEdits) {
    editor.play();
    ASSERT_EQ(preview.played.size(), 1u);
    EXPECT_EQ(preview.played[0], (std::vector<std::string>{"1", "&H80", "3", "END"}));
    EXPECT_EQ(editor.previewRow(), 0);
    preview.step = 2;
    EXPECT_EQ(editor.previewRow(), 2);
    editor.moveCursor(0, 7);
    editor.switchCell();  // taken in while it plays
    ASSERT_EQ(preview.played.size(), 2u);
    EXPECT_EQ(preview.played[1], (std::vector<std::string>{"0", "&H80", "3", "END"}));
    editor.stop();
    EXPECT_EQ(preview.stops, 1);
    EXPECT_FALSE(editor.previewRow());

    preview.refusal = "Le pupitre est à l’arrêt : mettez-le en marche pour lire.";
    editor.play();
    EXPECT_FALSE(editor.previewing());
    EXPECT_TRUE(editor.statusIsError());
    EXPECT_NE(editor.status().find("pupitre"), std::string::npos);

    preview.refusal.clear();
    editor.play();
    preview.step.reset();  // another effect took the desk
    editor.showChanged();
    EXPECT_FALSE(editor.previewing());
}

}  // namespace
}  // namespace lumiere
