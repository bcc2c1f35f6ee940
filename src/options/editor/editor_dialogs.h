// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The questions the animation editor asks, behind a small interface: the real ones are modal
// dialogs, which would wait forever in a test, so tests give the window their own answers.

#include <QString>
#include <optional>

class QWidget;

namespace lumiere::ui {

enum class SaveAnswer { Save, Discard, Cancel };

class EditorDialogs {
public:
    virtual ~EditorDialogs() = default;
    // A text file of `folder`, or nothing when the user cancels.
    virtual std::optional<QString> chooseFile(QWidget* owner, const QString& folder) = 0;
    // "Enregistrer les modifications ?" with "Oui", "Non" and "Annuler".
    virtual SaveAnswer askToSave(QWidget* owner, const QString& fileName) = 0;
    // The file was changed on disk since it was opened: true replaces it.
    virtual bool askToOverwrite(QWidget* owner, const QString& fileName) = 0;
};

// Qt's own dialogs (its file dialog rather than the desktop's, so it stays in the program folder).
class QtEditorDialogs final : public EditorDialogs {
public:
    std::optional<QString> chooseFile(QWidget* owner, const QString& folder) override;
    SaveAnswer askToSave(QWidget* owner, const QString& fileName) override;
    bool askToOverwrite(QWidget* owner, const QString& fileName) override;
};

}  // namespace lumiere::ui
