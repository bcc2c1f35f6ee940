// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Platform for tests: pictures "load" when their file exists (or always), dialogs answer what the
// test scripted, clocks and the random series are set by hand, and every call is recorded.

#include <cerrno>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/platform.h"
#include "model/random_series.h"

namespace lumiere::test {

class FakePicture final : public PictureData {
public:
    explicit FakePicture(std::string path) : path(std::move(path)) {}
    std::string path;
};

// The file name a picture was loaded from ("" for a built-in picture).
inline std::string pictureName(const Picture& picture) {
    const auto* fake = dynamic_cast<const FakePicture*>(picture.get());
    if (!fake) return {};
    const auto slash = fake->path.rfind('/');
    return slash == std::string::npos ? fake->path : fake->path.substr(slash + 1);
}

class FakePlatform final : public Platform {
public:
    std::string folder = "/lumiere";
    // File names (not paths) whose pictures fail to load.
    std::set<std::string> missingPictures;
    std::vector<std::string> picturesLoaded;
    std::deque<std::optional<std::string>> openAnswers;  // nothing left: cancel
    std::deque<std::optional<std::string>> saveAnswers;
    std::vector<std::string> openDialogs;  // initial names shown
    std::vector<std::string> saveDialogs;
    std::vector<std::string> editorOpened;
    bool editorWorks = true;
    std::vector<std::pair<std::string, std::string>> messages;
    TimeOfDay clock{14, 5, 9};
    double seconds = 1000.0;
    std::deque<double> randoms;  // scripted; the fixed series once empty
    int ended = 0;
    // Runs inside a modal dialog, as the event loop would.
    std::function<void()> duringDialog;

    PictureLoad loadPicture(const std::string& path) override {
        picturesLoaded.push_back(path);
        const auto slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (name.empty()) return {nullptr, EISDIR};
        if (missingPictures.count(name)) return {nullptr, ENOENT};
        return {std::make_shared<FakePicture>(path), 0};
    }
    std::optional<std::string> openFileDialog(const std::string& initialName) override {
        openDialogs.push_back(initialName);
        if (duringDialog) duringDialog();
        return next(openAnswers);
    }
    std::optional<std::string> saveFileDialog(const std::string& initialName) override {
        saveDialogs.push_back(initialName);
        if (duringDialog) duringDialog();
        return next(saveAnswers);
    }
    bool openInEditor(const std::string& path) override {
        editorOpened.push_back(path);
        return editorWorks;
    }
    void messageBox(const std::string& title, const std::string& text) override {
        messages.emplace_back(title, text);
        if (duringDialog) duringDialog();
    }
    TimeOfDay timeOfDay() override { return clock; }
    double monotonicSeconds() override { return seconds; }
    double nextRandom() override {
        if (randoms.empty()) return series.next();
        const double r = randoms.front();
        randoms.pop_front();
        return r;
    }
    std::string programFolder() override { return folder; }
    void endApplication() override { ++ended; }
    // Other threads may post: the queue has a lock of its own.
    void post(std::function<void()> work) override {
        const std::lock_guard lock(postedMutex);
        posted.push_back(std::move(work));
    }
    // Runs the work posted so far, as the window's event loop would; how many ran.
    int runPosted() {
        int ran = 0;
        for (;;) {
            std::function<void()> work;
            {
                const std::lock_guard lock(postedMutex);
                if (posted.empty()) return ran;
                work = std::move(posted.front());
                posted.pop_front();
            }
            work();
            ++ran;
        }
    }
    std::mutex postedMutex;
    std::deque<std::function<void()>> posted;

    RandomSeries series;

private:
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& answers) {
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace lumiere::test
