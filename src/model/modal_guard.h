// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Platform that passes every call through and knows whether a modal dialog is open, so the
// sequence runner can hold still while the user answers one.

#include "model/platform.h"

namespace lumiere {

class ModalGuard final : public Platform {
public:
    explicit ModalGuard(Platform& inner) : inner_(inner) {}

    bool modalOpen() const { return depth_ > 0; }

    PictureLoad loadPicture(const std::string& path) override { return inner_.loadPicture(path); }
    std::optional<std::string> openFileDialog(const std::string& initialName) override {
        Scope scope(depth_);
        return inner_.openFileDialog(initialName);
    }
    std::optional<std::string> saveFileDialog(const std::string& initialName) override {
        Scope scope(depth_);
        return inner_.saveFileDialog(initialName);
    }
    bool openInEditor(const std::string& path) override { return inner_.openInEditor(path); }
    void messageBox(const std::string& title, const std::string& text) override {
        Scope scope(depth_);
        inner_.messageBox(title, text);
    }
    TimeOfDay timeOfDay() override { return inner_.timeOfDay(); }
    double monotonicSeconds() override { return inner_.monotonicSeconds(); }
    double nextRandom() override { return inner_.nextRandom(); }
    std::string programFolder() override { return inner_.programFolder(); }
    void endApplication() override { inner_.endApplication(); }
    void post(std::function<void()> work) override { inner_.post(std::move(work)); }

private:
    struct Scope {
        explicit Scope(int& depth) : depth_(depth) { ++depth_; }
        ~Scope() { --depth_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        int& depth_;
    };

    Platform& inner_;
    int depth_ = 0;
};

}  // namespace lumiere
