// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The animation editor without its window: the file open, its steps, the cell cursor and the
// selection of steps, every edit with its undo and redo, the save and the preview. The window
// paints what this holds and forwards the user's actions; it keeps nothing of its own.
//
// Undo keeps snapshots: before each edit the steps and the cursor are pushed on the undo stack,
// and undo swaps them back. A step is two words and a shared pointer to its line as read, so a
// snapshot of the player's 255 steps costs a few kilobytes however long the lines are; a drag
// that paints many cells is one snapshot, taken when the button goes down.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/animation_document.h"
#include "editor/animation_file.h"
#include "editor/step_generators.h"

namespace lumiere {

class AnimationPreview;

struct GridCursor {
    int row = 0;     // the current step, 0-based
    int column = 0;  // 0 is the desk's first lamp

    bool operator==(const GridCursor&) const = default;
};

class AnimationEditor {
public:
    explicit AnimationEditor(AnimationPreview* preview = nullptr) : preview_(preview) {}

    // Files. A missing file opens empty (it is made at the first save); a file that cannot be
    // read (a folder, a pipe, a device, more than 16 MiB, no permission) is refused and the
    // document open stays as it was: false, and the status says why.
    bool open(const std::string& path);
    enum class SaveResult { Saved, Failed, ChangedOnDisk };
    // ChangedOnDisk (nothing written) when the file no longer holds what was read or last saved,
    // unless `overwrite` says the user agreed to replace it.
    SaveResult save(bool overwrite = false);
    // The steps differ from what the file holds as read or last saved.
    bool modified() const { return document_.bytes() != savedBytes_; }
    bool changedOnDisk() const;
    const std::string& path() const { return path_; }
    std::string fileName() const;

    // What the window shows.
    const AnimationDocument& document() const { return document_; }
    int rows() const { return document_.size(); }
    GridCursor cursor() const { return cursor_; }
    int selectionFirst() const { return std::min(anchor_, cursor_.row); }
    int selectionLast() const { return std::max(anchor_, cursor_.row); }
    bool selected(int row) const { return row >= selectionFirst() && row <= selectionLast(); }
    // The last thing said, in Windows-1252 French; an error shows as such.
    const std::string& status() const { return status_; }
    bool statusIsError() const { return statusIsError_; }
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }

    // The cursor; `extend` stretches the selection of steps from where it started.
    void moveCursor(int rows, int columns, bool extend = false);
    void setCursor(int row, int column, bool extend = false);
    void selectRows(int first, int last);

    // Edits, each one undo step.
    void switchCell();  // at the cursor
    void switchCell(int row, int column);
    // A drag: the first cell switches and every cell the pointer passes takes the same state.
    void beginPaint(int row, int column);
    void paintTo(int row, int column);
    void endPaint();
    void insertStep();     // a dark step after the current one
    void deleteStep();     // the current one
    void duplicateStep();  // a copy after the current one
    void moveStep(int by);
    void applyGenerator(Generator generator);  // on the selected steps
    void undo();
    void redo();
    void setRandomSeed(std::uint32_t seed) { seed_ = seed; }

    // The preview: "Lire" and "Arrêter", and the step playing (nothing when none is).
    void play();
    void stop();
    bool previewing() const { return previewing_; }
    std::optional<int> previewRow() const;
    // After a change of the show: a preview ended by something else is no longer shown.
    void showChanged();

private:
    struct Snapshot {
        std::vector<Step> steps;
        GridCursor cursor;
        int anchor = 0;
    };

    Snapshot snapshot() const { return {document_.steps(), cursor_, anchor_}; }
    void restore(const Snapshot& snapshot);
    void record();
    void edited(const std::string& what);
    void setValue(int row, int column, bool on);
    void paintCell(int row, int column);
    void say(const std::string& text, bool error = false);
    void clampCursor();
    void updatePreview();

    AnimationPreview* preview_;
    std::string path_;
    AnimationDocument document_;
    std::string savedBytes_;
    DiskState disk_;
    GridCursor cursor_;
    int anchor_ = 0;
    std::vector<Snapshot> undo_;
    std::vector<Snapshot> redo_;
    bool painting_ = false;
    bool paintOn_ = false;
    GridCursor paintAt_;
    std::uint32_t seed_ = 1;
    bool previewing_ = false;
    std::string status_;
    bool statusIsError_ = false;
};

}  // namespace lumiere
