// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform services on Qt: pictures, file dialogs, the desktop's file associations, message
// boxes, clocks, the program folder.

#include <QPointer>
#include <QWidget>
#include <chrono>

#include "model/platform.h"
#include "model/random_series.h"
#include "ui/picture_files.h"

namespace lumiere::ui {

class QtPlatform final : public Platform {
public:
    // The program folder is the executable's folder unless another is given.
    QtPlatform();
    explicit QtPlatform(std::string programFolder);

    // The window that owns the dialogs.
    void setOwner(QWidget* owner) { owner_ = owner; }

    PictureLoad loadPicture(const std::string& path) override { return pictures_.load(path); }
    std::optional<std::string> openFileDialog(const std::string& initialName) override;
    std::optional<std::string> saveFileDialog(const std::string& initialName) override;
    bool openInEditor(const std::string& path) override;
    void messageBox(const std::string& title, const std::string& text) override;
    TimeOfDay timeOfDay() override;
    double monotonicSeconds() override;
    double nextRandom() override { return random_.next(); }
    std::string programFolder() override { return folder_; }
    void endApplication() override;
    void post(std::function<void()> work) override;

private:
    QPointer<QWidget> owner_;
    QObject inbox_;  // posted work runs in its context; none runs once the platform is gone
    PictureFiles pictures_;
    std::string folder_;
    RandomSeries random_;
    QString lastFolder_;
};

}  // namespace lumiere::ui
