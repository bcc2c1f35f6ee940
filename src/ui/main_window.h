// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the menu "Fichier", the menu "Options" with an entry per option, the desk
// (FormView) and a status bar with the state of the lamp link and the last notice. It forwards
// the window's events to the Application and follows the model each time the Application says
// it changed.

#include <QMainWindow>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls/painted.h"
#include "ui/notice_board.h"
#include "ui/option_window.h"

class QLabel;

namespace lumiere {
class Application;
class Platform;
}  // namespace lumiere

namespace lumiere::ui {

class FormView;
class SettingsWindow;
class TimerBinding;
class WakeBinding;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // `modules` are the options the application was made with, in the same order.
    MainWindow(Application& app, Platform& platform, const std::vector<OptionModule>& modules = {});
    ~MainWindow() override;

    void refresh();
    FormView* formView() const { return form_; }
    SettingsWindow* settingsWindow() const { return settings_; }
    const TimerBinding& timer1() const { return *timer1_; }
    const TimerBinding& timer4() const { return *timer4_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu(const std::vector<OptionModule>& modules);
    // Asks each option's window whether the program may end (unsaved work).
    bool optionsMayQuit();

    void showNotices();

    Application& app_;
    Platform& platform_;
    NoticeBoard notices_;
    Painted<std::vector<std::string>> shownNotices_;
    FormView* form_ = nullptr;
    SettingsWindow* settings_ = nullptr;
    // An option and its dialog, made when the option first shows it.
    struct OptionSlot {
        Option* option = nullptr;
        std::function<OptionWindow*(Option&, OptionDispatch&, QWidget*)> make;
        OptionWindow* window = nullptr;
    };
    void makeWindow(OptionSlot& slot);
    std::vector<OptionSlot> options_;
    QLabel* notice_ = nullptr;
    QLabel* link_ = nullptr;
    // What the status bar shows, to touch it only when the model changes.
    Painted<std::string> shownNotice_;
    Painted<std::string> shownFault_;   // the link's fault
    Painted<int> shownPort_;            // the COM port's number
    Painted<std::string> shownDevice_;  // the device chosen by its path, if any
    std::unique_ptr<TimerBinding> timer1_;
    std::unique_ptr<TimerBinding> timer3_;
    std::unique_ptr<TimerBinding> timer4_;
    std::unique_ptr<WakeBinding> runner_;
    std::vector<std::unique_ptr<WakeBinding>> optionWakes_;
};

}  // namespace lumiere::ui
