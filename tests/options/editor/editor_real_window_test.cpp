// SPDX-License-Identifier: GPL-3.0-or-later
// The editor beside the real window, on a pseudo-terminal: a step drawn and saved in the editor
// is what "Animation 1" sends at its next click, as the button reads its file at every click.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "editor/animation_editor_window.h"
#include "editor/editor_dialogs.h"
#include "editor/step_grid.h"
#include "support/pty_peer.h"
#include "support/real_window.h"
#include "ui/controls/face_button.h"
#include "ui/controls/picture_view.h"
#include "ui/desk_view.h"

namespace lumiere {
namespace {

class NoQuestions final : public ui::EditorDialogs {
public:
    std::optional<QString> chooseFile(QWidget*, const QString&) override { return {}; }
    ui::SaveAnswer askToSave(QWidget*, const QString&) override { return ui::SaveAnswer::Cancel; }
    bool askToOverwrite(QWidget*, const QString&) override { return false; }
};

TEST(EditorRealWindow, ADrawnStepIsSavedAndPlayedByAnimation1) {
    test::RealWindow rig;
    rig.folder.write("animation1.txt", "1\r\n&H02\r\nEND\r\n");
    test::PtyPeer peer(rig.line());
    ASSERT_TRUE(peer.ready());
    NoQuestions dialogs;
    ui::AnimationEditorWindow editor(rig.folder.path(), nullptr, &dialogs);
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    ui::StepGrid* grid = editor.grid();

    QTest::keyClick(grid, Qt::Key_Space);   // step 1, lamp 1: 1 → 129
    QTest::keyClick(grid, Qt::Key_Down);    // step 2
    QTest::keyClick(grid, Qt::Key_Insert);  // a dark step 3
    QTest::keyClick(grid, Qt::Key_End);     // lamp 8
    QTest::keyClick(grid, Qt::Key_Space);   // 1
    QTest::keyClick(grid, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(rig.folder.read("animation1.txt"), "129\r\n&H02\r\n1\r\nEND\r\n");
    EXPECT_FALSE(editor.editor().modified());

    QTest::mouseClick(rig.view().desk()->toggle(), Qt::LeftButton);  // desk on
    QTest::mouseClick(rig.view().button(0), Qt::LeftButton);         // "Animation 1"
    for (int i = 0; i < 5; ++i) rig.app->Timer1_Timer();
    EXPECT_EQ(peer.frames(), (std::vector<int>{129, 2, 1, 129, 2}));
}

}  // namespace
}  // namespace lumiere

namespace lumiere {
namespace {

ui::AnimationEditorWindow* openedEditor() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* editor = qobject_cast<ui::AnimationEditorWindow*>(top);
            editor && top->isVisible())
            return editor;
    }
    return nullptr;
}

// The option through the program: Ctrl+E opens the editor; "Lire" plays the grid on the line
// from its first step, as "Animation 1" would play the file, only while the desk is on;
// "Arrêter" gives the lamps back to the blinker as the stop-all action does.
TEST(EditorRealWindow, CtrlEOpensItAndTheGridPlaysOnTheLineUntilArreter) {
    test::RealWindow rig;
    rig.folder.write("animation1.txt", "1\r\n2\r\n4\r\nEND\r\n");
    test::PtyPeer peer(rig.line());
    ASSERT_TRUE(peer.ready());
    rig.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));
    QTest::keyClick(rig.window.get(), Qt::Key_E, Qt::ControlModifier);
    ui::AnimationEditorWindow* editor = openedEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Éditeur d'animations"));
    EXPECT_EQ(editor->editor().fileName(), "animation1.txt");

    QTest::mouseClick(editor->playButton(), Qt::LeftButton);  // the desk is off
    EXPECT_FALSE(rig.app->show().timer1().enabled);
    EXPECT_TRUE(editor->editor().statusIsError());

    QTest::mouseClick(rig.view().desk()->toggle(), Qt::LeftButton);  // desk on
    peer.frames();
    QTest::keyClick(editor->grid(), Qt::Key_Space);  // step 1, lamp 1: 1 → 129, not saved
    QTest::mouseClick(editor->playButton(), Qt::LeftButton);
    EXPECT_TRUE(rig.app->show().timer1().enabled);
    for (int i = 0; i < 4; ++i) rig.app->Timer1_Timer();
    EXPECT_EQ(peer.frames(), (std::vector<int>{129, 2, 4, 129}));
    EXPECT_EQ(editor->editor().previewRow(), 0);
    EXPECT_EQ(rig.folder.read("animation1.txt"), "1\r\n2\r\n4\r\nEND\r\n");

    QTest::mouseClick(editor->stopButton(), Qt::LeftButton);
    EXPECT_FALSE(rig.app->show().timer1().enabled);
    EXPECT_TRUE(rig.app->show().timer4().enabled);
    EXPECT_EQ(rig.app->values().arret, 1);
}

}  // namespace
}  // namespace lumiere
