// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window on its own, for a look at it in a virtual screen: a copy of the shipped
// animations in a temporary folder and a preview that steps once per 150 ms, as the master's
// design speed does. Not a test; run it as `xvfb-run build/debug/tests/editor_window_host`.

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "editor/animation_editor_window.h"
#include "editor/animation_preview.h"
#include "editor/step_grid.h"
#include "support/temp_folder.h"
#include "ui/look.h"

namespace {

class SteppingPreview final : public lumiere::AnimationPreview {
public:
    std::string playPreview(const std::vector<std::string>& steps) override {
        count_ = 0;
        for (const std::string& s : steps) {
            if (s == "END") break;
            ++count_;
        }
        if (!step_) step_ = 0;
        return {};
    }
    void stopPreview() override { step_.reset(); }
    std::optional<int> previewStep() const override { return step_; }
    void tick() {
        if (step_ && count_ > 0) step_ = (*step_ + 1) % count_;
    }

private:
    std::optional<int> step_;
    int count_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    lumiere::ui::applyLook();
    TempFolder folder;
    for (const auto& entry : std::filesystem::directory_iterator(LUMIERE_ASSETS_DIR)) {
        std::filesystem::copy(entry.path(), folder.file(entry.path().filename().string()));
    }
    folder.write("animation3.txt",
                 "137\r\n&H42\r\n300\r\npause\r\n8\r\n85\r\n34\r\nEND\r\nnotes\r\n");
    SteppingPreview preview;
    lumiere::ui::AnimationEditorWindow window(folder.path(), &preview);
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        preview.tick();
        window.refresh();
    });
    ticks.start(150);
    if (argc > 1 && std::string(argv[1]) == "--demo") {
        // What the screenshot shows: animation 3 open, a selection, the preview playing.
        window.fileChoice()->setCurrentIndex(2);
        emit window.fileChoice()->activated(2);
        const auto press = [&](int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
            QKeyEvent event(QEvent::KeyPress, key, mods);
            QApplication::sendEvent(window.grid(), &event);
        };
        for (int i = 0; i < 4; ++i) press(Qt::Key_Down);
        press(Qt::Key_Down, Qt::ShiftModifier);
        press(Qt::Key_Down, Qt::ShiftModifier);
        press(Qt::Key_Right);
        press(Qt::Key_Right);
        window.playButton()->click();
    }
    window.show();
    window.activateWindow();
    window.grid()->setFocus();
    return app.exec();
}
