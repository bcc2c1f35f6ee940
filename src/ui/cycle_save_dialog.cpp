// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cycle_save_dialog.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace lumiere::ui {

CycleSaveDialog::CycleSaveDialog(QWidget* owner, const QString& folder, const QString& initialName)
    : QFileDialog(owner, QStringLiteral("Enregistrer le cycle"), folder,
                  QStringLiteral("Cycles (*.txt);;Tous les fichiers (*)")) {
    // Qt's own dialog, so that the question on a new file is asked from inside it.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setLabelText(QFileDialog::Accept, QStringLiteral("Enregistrer"));
    setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
    selectFile(initialName);
}

void CycleSaveDialog::accept() {
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty()) {
        const QFileInfo file(chosen.first());
        // A folder is opened by the dialog itself; a name that exists gets Qt's replace question.
        if (!file.exists() && !file.isSymLink() && !askToCreate(this, file.absoluteFilePath())) {
            return;
        }
    }
    QFileDialog::accept();
}

bool askToCreate(QWidget* owner, const QString& path) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Enregistrer le cycle"),
                    QStringLiteral("Le fichier « %1 » n’existe pas.\nVoulez-vous le créer ?")
                        .arg(QFileInfo(path).fileName()),
                    QMessageBox::NoButton, owner);
    QPushButton* yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace lumiere::ui
