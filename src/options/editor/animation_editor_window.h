// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Éditeur d'animations": a window of its own, not modal, to draw an animation file step by step
// and hear nothing but see it play on the desk. The choice of file ("Animation 1" to
// "Animation 3", "Autre fichier…" in the program folder), the grid, the step and pattern buttons,
// "Lire" / "Arrêter", undo and redo, "Enregistrer" (Ctrl+S), and a status line that says every
// error in French. Closing, or opening another file, with unsaved changes asks first.
//
// The window holds the editor's model and paints it. As the window of the option, it shows while
// the option says so and its preview plays on the desk through the option, as one event of the
// application; refresh() follows each change of the show, so that the step playing stays
// highlighted. On its own (tests), it takes any preview.

#include <memory>
#include <optional>
#include <string>

#include "editor/animation_editor.h"
#include "editor/editor_option.h"
#include "ui/option_window.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace lumiere {
class AnimationPreview;
}

namespace lumiere::ui {

class EditorDialogs;
class StepGrid;

class AnimationEditorWindow final : public OptionWindow {
    Q_OBJECT

public:
    // `dialogs` may be null for Qt's own; the window opens animation1.txt of `programFolder`.
    AnimationEditorWindow(std::string programFolder, AnimationPreview* preview,
                          EditorDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    // The window of the option, over the program folder, with Qt's own questions.
    AnimationEditorWindow(BoundOption<AnimationEditorOption> option, QWidget* parent);
    ~AnimationEditorWindow() override;

    // After each change of the show: the step playing moves, a preview ended elsewhere shows;
    // as the option's window, it shows or hides as the option says.
    void refresh() override;
    // Unsaved changes are asked about first.
    bool mayQuit() override;
    // Shows the window over its parent and raises it; an unchanged document is read again when
    // the file changed on disk meanwhile.
    void present();

    const AnimationEditor& editor() const { return editor_; }
    AnimationEditor& editor() { return editor_; }
    StepGrid* grid() const { return grid_; }
    QComboBox* fileChoice() const { return choice_; }
    QLabel* statusLine() const { return status_; }
    QPushButton* playButton() const { return play_; }
    QPushButton* stopButton() const { return stop_; }
    QPushButton* saveButton() const { return save_; }

private:
    class DeskPreview;

    void closeClicked() override;
    void build();
    QWidget* buildSidePanel();
    void choose(int index);
    bool openFile(const std::string& path);
    // Asks about unsaved changes; false when the user keeps the window as it is.
    bool settleChanges();
    bool saveNow();
    void acted();
    void showState();

    std::optional<BoundOption<AnimationEditorOption>> option_;
    std::unique_ptr<DeskPreview> deskPreview_;
    int shows_ = 0;  // the option's requests to show already followed
    AnimationEditor editor_;
    std::string folder_;
    std::unique_ptr<EditorDialogs> ownDialogs_;
    EditorDialogs* dialogs_;
    int chosen_ = 0;  // the entry of the file open
    StepGrid* grid_ = nullptr;
    QComboBox* choice_ = nullptr;
    QLabel* file_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* selection_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* redo_ = nullptr;
    QPushButton* save_ = nullptr;
    bool hasPreview_ = false;
};

// Options > "Éditeur d'animations…", also Ctrl+E from the main window.
OptionModule animationEditorModule();

}  // namespace lumiere::ui
