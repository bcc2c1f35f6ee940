// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_platform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTime>
#include <QUrl>

#include "ui/cycle_save_dialog.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {

QtPlatform::QtPlatform() : QtPlatform(QCoreApplication::applicationDirPath().toStdString()) {}

QtPlatform::QtPlatform(std::string programFolder)
    : folder_(std::move(programFolder)), lastFolder_(QString::fromStdString(folder_)) {}

std::optional<std::string> QtPlatform::openFileDialog(const std::string& initialName) {
    const QString chosen = QFileDialog::getOpenFileName(
        owner_, QStringLiteral("Ouvrir une séquence"), lastFolder_,
        QStringLiteral("Séquences (%1);;Tous les fichiers (*)").arg(toQString(initialName)));
    if (chosen.isEmpty()) return std::nullopt;
    lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen.toStdString();
}

std::optional<std::string> QtPlatform::saveFileDialog(const std::string& initialName) {
    CycleSaveDialog dialog(owner_, lastFolder_, toQString(initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().first();
    if (chosen.isEmpty()) return std::nullopt;
    lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen.toStdString();
}

bool QtPlatform::openInEditor(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void QtPlatform::messageBox(const std::string& title, const std::string& text) {
    QMessageBox::information(owner_, toQString(title), toQString(text));
}

TimeOfDay QtPlatform::timeOfDay() {
    const QTime now = QTime::currentTime();
    return {now.hour(), now.minute(), now.second()};
}

double QtPlatform::monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void QtPlatform::post(std::function<void()> work) {
    QMetaObject::invokeMethod(&inbox_, std::move(work), Qt::QueuedConnection);
}

void QtPlatform::endApplication() {
    QCoreApplication::exit(0);
}

}  // namespace lumiere::ui
