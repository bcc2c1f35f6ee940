// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editor_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace lumiere::ui {
namespace {

const QString kTitle = QStringLiteral("Éditeur d'animations");

}  // namespace

std::optional<QString> QtEditorDialogs::chooseFile(QWidget* owner, const QString& folder) {
    QFileDialog dialog(owner, QStringLiteral("Ouvrir une animation"), folder,
                       QStringLiteral("Fichiers texte (*.txt);;Tous les fichiers (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The program folder only: no other place in the side bar, no folders in the list, and a
    // step into another folder is taken back.
    dialog.setSidebarUrls({QUrl::fromLocalFile(folder)});
    dialog.setFilter(QDir::Files | QDir::NoDotAndDotDot);
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog, [&](const QString& entered) {
        if (QDir(entered) != QDir(folder)) dialog.setDirectory(folder);
    });
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Ouvrir"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

SaveAnswer QtEditorDialogs::askToSave(QWidget* owner, const QString& fileName) {
    QMessageBox box(QMessageBox::Question, kTitle,
                    QStringLiteral("Enregistrer les modifications ?"), QMessageBox::NoButton,
                    owner);
    box.setInformativeText(QStringLiteral("« %1 » a été modifié.").arg(fileName));
    QPushButton* yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) return SaveAnswer::Save;
    if (box.clickedButton() == no) return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}

bool QtEditorDialogs::askToOverwrite(QWidget* owner, const QString& fileName) {
    QMessageBox box(
        QMessageBox::Warning, kTitle,
        QStringLiteral("« %1 » a été modifié sur le disque depuis son ouverture.").arg(fileName),
        QMessageBox::NoButton, owner);
    box.setInformativeText(QStringLiteral("Le remplacer par l’animation de l’éditeur ?"));
    QPushButton* yes = box.addButton(QStringLiteral("Remplacer"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace lumiere::ui
