// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window offscreen, driven as a user drives it: the keys of the grid and of the
// window, a drag that paints, the choice of file, saving, and the questions before a close or
// an overwrite (given by a fake; one test answers Qt's real question box).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "editor/animation_editor_window.h"
#include "editor/animation_preview.h"
#include "editor/editor_dialogs.h"
#include "editor/step_grid.h"
#include "support/temp_folder.h"

namespace lumiere {
namespace {

using ui::SaveAnswer;

class FakeDialogs final : public ui::EditorDialogs {
public:
    std::optional<QString> chooseFile(QWidget*, const QString& folder) override {
        askedFolder = folder;
        return file;
    }
    SaveAnswer askToSave(QWidget*, const QString& name) override {
        saveQuestions.push_back(name);
        return answer;
    }
    bool askToOverwrite(QWidget*, const QString& name) override {
        overwriteQuestions.push_back(name);
        return overwrite;
    }

    std::optional<QString> file;
    QString askedFolder;
    SaveAnswer answer = SaveAnswer::Cancel;
    bool overwrite = false;
    QStringList saveQuestions;
    QStringList overwriteQuestions;
};

class NoPreview final : public AnimationPreview {
public:
    std::string playPreview(const std::vector<std::string>& s) override {
        steps = s;
        step = 0;
        return {};
    }
    void stopPreview() override { step.reset(); }
    std::optional<int> previewStep() const override { return step; }
    std::vector<std::string> steps;
    std::optional<int> step;
};

std::vector<int> values(const ui::AnimationEditorWindow& window) {
    std::vector<int> out;
    for (const Step& step : window.editor().document().steps()) out.push_back(step.value);
    return out;
}

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("animation1.txt", "1\r\n2\r\n&H80\r\nEND\r\n");
        folder.write("animation2.txt", "7\r\nEND\r\n");
        window = std::make_unique<ui::AnimationEditorWindow>(folder.path(), &preview, &dialogs);
        window->show();
        window->activateWindow();  // the window's shortcuts (Ctrl+S, Ctrl+Z…) need it active
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        grid = window->grid();
        grid->setFocus();
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(grid, static_cast<Qt::Key>(k), mods);
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &event);
    }

    TempFolder folder;
    FakeDialogs dialogs;
    NoPreview preview;
    std::unique_ptr<ui::AnimationEditorWindow> window;
    ui::StepGrid* grid = nullptr;
};

TEST_F(EditorWindowTest, OpensTheFirstAnimationWithItsTitle) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Éditeur d'animations"));
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->fileChoice()->currentText(), QStringLiteral("Animation 1"));
    EXPECT_EQ(window->fileChoice()->count(), 4);
    EXPECT_EQ(window->fileChoice()->itemText(3), QStringLiteral("Autre fichier…"));
    EXPECT_EQ(window->editor().fileName(), "animation1.txt");
    EXPECT_EQ(values(*window), (std::vector<int>{1, 2, 128}));
    EXPECT_EQ(ui::StepGrid::columnTip(0),
              QStringLiteral("Lampe 1 du pupitre — sortie 8 du contrôleur (bit 7, valeur 128)"));
}

TEST_F(EditorWindowTest, KeysMoveSwitchAddRemoveCopyMoveUndoAndRedo) {
    EXPECT_EQ(window->editor().cursor(), (GridCursor{0, 0}));
    key(Qt::Key_Space);  // lamp 1 of step 1: 1 → 129
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    EXPECT_EQ(window->editor().cursor(), (GridCursor{1, 1}));
    key(Qt::Key_Space);  // lamp 2 of step 2: 2 → 66
    EXPECT_EQ(values(*window), (std::vector<int>{129, 66, 128}));
    key(Qt::Key_Insert);  // a dark step 3
    EXPECT_EQ(values(*window), (std::vector<int>{129, 66, 0, 128}));
    EXPECT_EQ(window->editor().cursor().row, 2);
    key(Qt::Key_Up);
    key(Qt::Key_D, Qt::ControlModifier);  // step 2 copied after itself
    EXPECT_EQ(values(*window), (std::vector<int>{129, 66, 66, 0, 128}));
    key(Qt::Key_Down, Qt::ControlModifier);  // and moved down
    EXPECT_EQ(values(*window), (std::vector<int>{129, 66, 0, 66, 128}));
    for (int i = 0; i < 3; ++i) key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(values(*window), (std::vector<int>{66, 129, 66, 0, 128}));
    key(Qt::Key_Delete);  // the moved copy, now step 1
    EXPECT_EQ(values(*window), (std::vector<int>{129, 66, 0, 128}));

    for (int i = 0; i < 9; ++i) key(Qt::Key_Z, Qt::ControlModifier);  // the nine edits
    EXPECT_EQ(values(*window), (std::vector<int>{1, 2, 128}));
    EXPECT_FALSE(window->editor().modified());
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(values(*window), (std::vector<int>{129, 2, 128}));
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(values(*window), (std::vector<int>{129, 66, 128}));
}

TEST_F(EditorWindowTest, ADragPaintsAndIsOneUndoStep) {
    const QPoint from = grid->cellCenter(0, 1);
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, grid->cellCenter(0, 4), Qt::LeftButton);
    mouse(QEvent::MouseMove, grid->cellCenter(2, 4), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, grid->cellCenter(2, 4), Qt::NoButton);
    // Lamps 2 to 5 of step 1, then lamp 5 of steps 2 and 3.
    EXPECT_EQ(values(*window), (std::vector<int>{1 | 64 | 32 | 16 | 8, 2 | 8, 128 | 8}));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(values(*window), (std::vector<int>{1, 2, 128}));
    EXPECT_FALSE(window->editor().canUndo());
}

TEST_F(EditorWindowTest, SavesWithCtrlSAndAsksBeforeOverwritingAChangedFile) {
    key(Qt::Key_Space);
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(folder.read("animation1.txt"), "129\r\n2\r\n&H80\r\nEND\r\n");
    EXPECT_FALSE(window->editor().modified());

    key(Qt::Key_Space);
    folder.write("animation1.txt", "99\r\nEND\r\n");  // another program wrote it
    dialogs.overwrite = false;
    window->saveButton()->click();
    EXPECT_EQ(dialogs.overwriteQuestions, QStringList{QStringLiteral("animation1.txt")});
    EXPECT_EQ(folder.read("animation1.txt"), "99\r\nEND\r\n");
    EXPECT_TRUE(window->editor().modified());
    dialogs.overwrite = true;
    window->saveButton()->click();
    EXPECT_EQ(folder.read("animation1.txt"), "1\r\n2\r\n&H80\r\nEND\r\n");
}

TEST_F(EditorWindowTest, ClosingWithChangesAsks) {
    key(Qt::Key_Space);
    dialogs.answer = SaveAnswer::Cancel;
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs.saveQuestions.size(), 1);
    EXPECT_TRUE(window->editor().modified());

    dialogs.answer = SaveAnswer::Save;
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(folder.read("animation1.txt"), "129\r\n2\r\n&H80\r\nEND\r\n");

    window->show();
    key(Qt::Key_Space);
    dialogs.answer = SaveAnswer::Discard;
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(folder.read("animation1.txt"), "129\r\n2\r\n&H80\r\nEND\r\n");
    EXPECT_FALSE(window->editor().modified());  // shown again, it shows the file
    EXPECT_EQ(dialogs.saveQuestions.size(), 3);

    window->show();
    window->close();
    EXPECT_FALSE(window->isVisible());  // nothing changed: no question
    EXPECT_EQ(dialogs.saveQuestions.size(), 3);
}

TEST_F(EditorWindowTest, ChoosesAFileOfTheProgramFolderOnly) {
    QComboBox* choice = window->fileChoice();
    key(Qt::Key_Space);
    dialogs.answer = SaveAnswer::Cancel;  // the change stays, and so does the file
    emit choice->activated(1);
    EXPECT_EQ(window->editor().fileName(), "animation1.txt");
    EXPECT_EQ(choice->currentIndex(), 0);

    dialogs.answer = SaveAnswer::Discard;
    emit choice->activated(1);
    EXPECT_EQ(window->editor().fileName(), "animation2.txt");
    EXPECT_EQ(values(*window), (std::vector<int>{7}));
    EXPECT_EQ(choice->currentIndex(), 1);

    TempFolder elsewhere;
    elsewhere.write("loin.txt", "1\r\n");
    dialogs.file = QString::fromStdString(elsewhere.file("loin.txt"));
    emit choice->activated(3);
    EXPECT_EQ(dialogs.askedFolder, QString::fromStdString(folder.path()));
    EXPECT_EQ(window->editor().fileName(), "animation2.txt");
    EXPECT_EQ(choice->currentIndex(), 1);
    EXPECT_TRUE(window->statusLine()->text().contains(QStringLiteral("dossier du programme")));

    folder.write("soir.txt", "&HFF\r\n0\r\n");
    dialogs.file = QString::fromStdString(folder.file("soir.txt"));
    emit choice->activated(3);
    EXPECT_EQ(window->editor().fileName(), "soir.txt");
    EXPECT_EQ(choice->currentIndex(), 3);
    EXPECT_EQ(values(*window), (std::vector<int>{255, 0}));

    dialogs.file.reset();  // cancelled: the file open stays
    emit choice->activated(3);
    EXPECT_EQ(window->editor().fileName(), "soir.txt");
}

TEST_F(EditorWindowTest, PreviewHighlightsTheStepPlaying) {
    window->playButton()->click();
    EXPECT_EQ(preview.steps, (std::vector<std::string>{"1", "2", "&H80", "END"}));
    EXPECT_TRUE(window->stopButton()->isEnabled());
    preview.step = 2;
    window->refresh();
    EXPECT_EQ(window->editor().previewRow(), 2);
    preview.step.reset();  // the desk played something else
    window->refresh();
    EXPECT_FALSE(window->stopButton()->isEnabled());
}

// Qt's real question box, answered through a watchdog: a modal box left open fails the test
// after five seconds instead of holding it.
TEST(EditorDialogs, RealSaveQuestionHasOuiNonAnnuler) {
    QStringList seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen << box->text();
        for (QAbstractButton* button : box->buttons()) {
            seen << button->text();
            if (button->text() == QStringLiteral("Non")) {
                QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
            }
        }
        poll.stop();
    });
    poll.start(10);
    QTimer::singleShot(5000, [] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) box->reject();
    });
    ui::QtEditorDialogs dialogs;
    EXPECT_EQ(dialogs.askToSave(nullptr, QStringLiteral("animation1.txt")), SaveAnswer::Discard);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.takeFirst(), QStringLiteral("Enregistrer les modifications ?"));
    seen.sort();  // the style decides the order of the buttons
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Annuler"), QStringLiteral("Non"),
                                 QStringLiteral("Oui")}));
}

}  // namespace
}  // namespace lumiere
