// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The save dialog of "Enregistre cycle". It asks before replacing a file that exists, and before
// creating one that does not exist yet: "Oui" chooses that name, "Non" goes back to the dialog.
// "Annuler" and the close box cancel.

#include <QFileDialog>

namespace lumiere::ui {

class CycleSaveDialog : public QFileDialog {
    Q_OBJECT

public:
    CycleSaveDialog(QWidget* owner, const QString& folder, const QString& initialName);

public slots:
    void accept() override;
};

// "Le fichier … n’existe pas. Voulez-vous le créer ?" with "Oui" and "Non"; true for "Oui".
bool askToCreate(QWidget* owner, const QString& path);

}  // namespace lumiere::ui
