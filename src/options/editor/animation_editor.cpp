// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/animation_editor.h"

#include <cstdlib>

#include "editor/animation_preview.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

// Enough for an afternoon of drawing; the oldest steps go first.
constexpr std::size_t kMaxUndo = 1000;

std::string stepsText(int first, int last) {
    if (first == last) return "le pas " + std::to_string(first + 1);
    return "les pas " + std::to_string(first + 1) + " à " + std::to_string(last + 1);
}

const char* generatorName(Generator generator) {
    switch (generator) {
        case Generator::ChaseLeft:
            return "Chenillard vers la gauche";
        case Generator::ChaseRight:
            return "Chenillard vers la droite";
        case Generator::BackAndForth:
            return "Aller-retour";
        case Generator::Fill:
            return "Tout allumer";
        case Generator::Invert:
            return "Inverser";
        case Generator::Random:
            return "Aléatoire";
    }
    return "";
}

}  // namespace

std::string AnimationEditor::fileName() const {
    const auto slash = path_.rfind('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

bool AnimationEditor::open(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    FileRead read = readAnimationFile(path);
    if (read.error != 0) {
        say(openProblem(name, read.error), true);
        return false;
    }
    if (previewing_) stop();
    path_ = path;
    document_ = AnimationDocument(read.bytes);
    savedBytes_ = std::move(read.bytes);
    disk_ = read.disk;
    cursor_ = {};
    anchor_ = 0;
    undo_.clear();
    redo_.clear();
    painting_ = false;
    if (!disk_.exists) {
        say(fromUtf8(name + " n’existe pas encore : il sera créé au premier enregistrement. "
                            "Inser ajoute un pas."));
    } else {
        say(fromUtf8(name + " ouvert : " + std::to_string(rows()) + " pas."));
    }
    return true;
}

bool AnimationEditor::changedOnDisk() const {
    if (path_.empty()) return false;
    const FileRead now = readAnimationFile(path_);
    return now.error != 0 || !now.disk.sameContent(disk_);
}

AnimationEditor::SaveResult AnimationEditor::save(bool overwrite) {
    if (path_.empty()) {
        say(fromUtf8("Aucun fichier ouvert : choisissez-en un dans la liste."), true);
        return SaveResult::Failed;
    }
    if (!overwrite && changedOnDisk()) {
        say(fromUtf8(fileName() + " a changé sur le disque depuis son ouverture."), true);
        return SaveResult::ChangedOnDisk;
    }
    std::string bytes = document_.bytes();
    if (const int err = writeAnimationFile(path_, bytes, disk_); err != 0) {
        say(saveProblem(fileName(), err), true);
        return SaveResult::Failed;
    }
    savedBytes_ = std::move(bytes);
    say(fromUtf8(fileName() + " enregistré : " + std::to_string(rows()) + " pas."));
    return SaveResult::Saved;
}

void AnimationEditor::say(const std::string& text, bool error) {
    status_ = text;
    statusIsError_ = error;
}

void AnimationEditor::clampCursor() {
    cursor_.row = std::clamp(cursor_.row, 0, std::max(rows() - 1, 0));
    cursor_.column = std::clamp(cursor_.column, 0, kLamps - 1);
    anchor_ = std::clamp(anchor_, 0, std::max(rows() - 1, 0));
}

void AnimationEditor::moveCursor(int rows, int columns, bool extend) {
    // Along a step the selection of steps stays as it is.
    setCursor(cursor_.row + rows, cursor_.column + columns, extend || rows == 0);
}

void AnimationEditor::setCursor(int row, int column, bool extend) {
    cursor_ = {row, column};
    clampCursor();
    if (!extend) anchor_ = cursor_.row;
}

void AnimationEditor::selectRows(int first, int last) {
    anchor_ = first;
    cursor_.row = last;
    clampCursor();
}

void AnimationEditor::record() {
    undo_.push_back(snapshot());
    if (undo_.size() > kMaxUndo) undo_.erase(undo_.begin());
    redo_.clear();
}

void AnimationEditor::restore(const Snapshot& snapshot) {
    document_.steps() = snapshot.steps;
    cursor_ = snapshot.cursor;
    anchor_ = snapshot.anchor;
    clampCursor();
    updatePreview();
}

void AnimationEditor::edited(const std::string& what) {
    say(fromUtf8(what));
    updatePreview();
}

void AnimationEditor::undo() {
    if (painting_) endPaint();
    if (undo_.empty()) return say(fromUtf8("Rien à annuler."));
    redo_.push_back(snapshot());
    restore(undo_.back());
    undo_.pop_back();
    say(fromUtf8("Annulé."));
}

void AnimationEditor::redo() {
    if (painting_) endPaint();
    if (redo_.empty()) return say(fromUtf8("Rien à rétablir."));
    undo_.push_back(snapshot());
    restore(redo_.back());
    redo_.pop_back();
    say(fromUtf8("Rétabli."));
}

void AnimationEditor::setValue(int row, int column, bool on) {
    int& value = document_.steps()[static_cast<std::size_t>(row)].value;
    const int mask = 1 << bitOfColumn(column);
    value = on ? (value | mask) : (value & ~mask);
}

void AnimationEditor::switchCell() {
    switchCell(cursor_.row, cursor_.column);
}

void AnimationEditor::switchCell(int row, int column) {
    if (row < 0 || row >= rows() || column < 0 || column >= kLamps) {
        return say(fromUtf8("Aucun pas : Inser ajoute un pas."));
    }
    record();
    setCursor(row, column);
    const int value = document_.steps()[static_cast<std::size_t>(row)].value;
    setValue(row, column, !lit(value, column));
    edited("Pas " + std::to_string(row + 1) + " : " +
           std::to_string(document_.steps()[static_cast<std::size_t>(row)].value) + ".");
}

void AnimationEditor::beginPaint(int row, int column) {
    if (painting_) endPaint();
    if (row < 0 || row >= rows() || column < 0 || column >= kLamps) return;
    record();
    painting_ = true;
    paintOn_ = !lit(document_.steps()[static_cast<std::size_t>(row)].value, column);
    paintAt_ = {row, column};
    paintCell(row, column);
    updatePreview();
}

void AnimationEditor::paintCell(int row, int column) {
    setValue(row, column, paintOn_);
    setCursor(row, column);
}

void AnimationEditor::paintTo(int row, int column) {
    if (!painting_ || rows() == 0) return;
    row = std::clamp(row, 0, rows() - 1);
    column = std::clamp(column, 0, kLamps - 1);
    // Every cell on the way: a quick drag leaves no gaps between two mouse events.
    const int dr = row - paintAt_.row;
    const int dc = column - paintAt_.column;
    const int n = std::max(std::abs(dr), std::abs(dc));
    if (n == 0) return;
    for (int i = 1; i <= n; ++i) {
        // Rounded to the nearest cell, halves away from the start, with integers only.
        const int r = paintAt_.row + (2 * dr * i + (dr < 0 ? -n : n)) / (2 * n);
        const int c = paintAt_.column + (2 * dc * i + (dc < 0 ? -n : n)) / (2 * n);
        paintCell(r, c);
    }
    paintAt_ = {row, column};
    updatePreview();
}

void AnimationEditor::endPaint() {
    if (!painting_) return;
    painting_ = false;
    if (!undo_.empty() && undo_.back().steps == document_.steps()) {
        undo_.pop_back();  // a drag that changed nothing is no undo step
        return;
    }
    edited(std::string(paintOn_ ? "Lampes allumées" : "Lampes éteintes") + ".");
}

void AnimationEditor::insertStep() {
    if (rows() >= kMaxAnimationSteps) {
        return say(fromUtf8("Une animation a au plus 255 pas : le lecteur n’en lit pas plus."),
                   true);
    }
    record();
    const int at = rows() == 0 ? 0 : cursor_.row + 1;
    auto& steps = document_.steps();
    steps.insert(steps.begin() + at, Step{});
    setCursor(at, cursor_.column);
    edited("Pas " + std::to_string(at + 1) + " ajouté.");
}

void AnimationEditor::deleteStep() {
    if (rows() == 0) return say(fromUtf8("Aucun pas à supprimer."));
    record();
    const int at = cursor_.row;
    auto& steps = document_.steps();
    steps.erase(steps.begin() + at);
    setCursor(at, cursor_.column);
    edited("Pas " + std::to_string(at + 1) + " supprimé.");
}

void AnimationEditor::duplicateStep() {
    if (rows() == 0) return say(fromUtf8("Aucun pas à dupliquer."));
    if (rows() >= kMaxAnimationSteps) {
        return say(fromUtf8("Une animation a au plus 255 pas : le lecteur n’en lit pas plus."),
                   true);
    }
    record();
    const int at = cursor_.row;
    auto& steps = document_.steps();
    steps.insert(steps.begin() + at + 1, steps[static_cast<std::size_t>(at)]);
    setCursor(at + 1, cursor_.column);
    edited("Pas " + std::to_string(at + 1) + " dupliqué.");
}

void AnimationEditor::moveStep(int by) {
    const int from = cursor_.row;
    const int to = from + by;
    if (rows() == 0 || to < 0 || to >= rows()) return;
    record();
    auto& steps = document_.steps();
    const Step moved = steps[static_cast<std::size_t>(from)];
    steps.erase(steps.begin() + from);
    steps.insert(steps.begin() + to, moved);
    setCursor(to, cursor_.column);
    edited("Pas " + std::to_string(from + 1) + " déplacé en " + std::to_string(to + 1) + ".");
}

void AnimationEditor::applyGenerator(Generator generator) {
    if (rows() == 0) return say(fromUtf8("Aucun pas : Inser ajoute un pas."));
    const int first = selectionFirst();
    const int last = selectionLast();
    auto& steps = document_.steps();
    std::vector<int> values;
    for (int row = first; row <= last; ++row) values.push_back(steps[row].value);
    const std::vector<int> result = generate(generator, values, seed_);
    if (generator == Generator::Random) ++seed_;  // the next click draws another pattern
    if (result == values) return say(fromUtf8("Rien n’a changé."));
    record();
    for (int row = first; row <= last; ++row) {
        steps[static_cast<std::size_t>(row)].value = result[static_cast<std::size_t>(row - first)];
    }
    edited(std::string(generatorName(generator)) + " sur " + stepsText(first, last) + ".");
}

void AnimationEditor::play() {
    if (!preview_) return;
    if (rows() == 0) return say(fromUtf8("Aucun pas à lire."), true);
    const std::string refused = preview_->playPreview(document_.playerLines());
    if (!refused.empty()) {
        previewing_ = false;
        return say(fromUtf8(refused), true);
    }
    previewing_ = true;
    say(fromUtf8("Lecture sur le pupitre, à la vitesse du curseur Général."));
}

void AnimationEditor::stop() {
    if (!preview_) return;
    preview_->stopPreview();
    previewing_ = false;
    say(fromUtf8("Lecture arrêtée."));
}

void AnimationEditor::updatePreview() {
    if (!previewing_ || !preview_) return;
    if (rows() == 0) {
        preview_->stopPreview();
        previewing_ = false;
        return;
    }
    const std::string refused = preview_->playPreview(document_.playerLines());
    if (!refused.empty()) {
        previewing_ = false;
        say(fromUtf8(refused), true);
    }
}

std::optional<int> AnimationEditor::previewRow() const {
    if (!previewing_ || !preview_) return std::nullopt;
    const std::optional<int> step = preview_->previewStep();
    if (!step || *step < 0 || *step >= rows()) return std::nullopt;
    return step;
}

void AnimationEditor::showChanged() {
    if (previewing_ && preview_ && !preview_->previewStep()) previewing_ = false;
}

}  // namespace lumiere
