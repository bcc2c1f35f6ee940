// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the menu "Fichier", the desk (FormView) and a status bar with the state of the
// lamp link and the last notice. It forwards the window's events to the Application and follows
// the model each time the Application says it changed.

#include <QMainWindow>
#include <memory>
#include <string>
#include <utility>

#include "ui/controls/painted.h"

class QLabel;

namespace lumiere {
class Application;
class Platform;
}  // namespace lumiere

namespace lumiere::ui {

class DmxWindow;
class FormView;
class MusicWindow;
class SerialPortWindow;
class SettingsWindow;
class TimerBinding;
class WakeBinding;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(Application& app, Platform& platform);
    ~MainWindow() override;

    void refresh();
    FormView* formView() const { return form_; }
    SettingsWindow* settingsWindow() const { return settings_; }
    DmxWindow* dmxWindow() const { return dmx_; }
    SerialPortWindow* serialPortWindow() const { return serial_; }
    MusicWindow* musicWindow() const { return music_; }
    const TimerBinding& timer1() const { return *timer1_; }
    const TimerBinding& timer4() const { return *timer4_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();

    Application& app_;
    FormView* form_ = nullptr;
    SettingsWindow* settings_ = nullptr;
    DmxWindow* dmx_ = nullptr;
    SerialPortWindow* serial_ = nullptr;
    MusicWindow* music_ = nullptr;
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
    std::unique_ptr<WakeBinding> tapBeats_;
};

}  // namespace lumiere::ui
