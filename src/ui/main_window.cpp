// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>

#include "app/application.h"
#include "model/platform.h"
#include "ui/form_view.h"
#include "ui/qt_bridge.h"
#include "ui/settings_window.h"
#include "ui/timer_binding.h"

namespace lumiere::ui {

MainWindow::MainWindow(Application& app, Platform& platform,
                       const std::vector<OptionModule>& modules)
    : app_(app) {
    setWindowTitle(toQString(app.form().caption));
    form_ = new FormView(app.form(), app, app, this);
    setCentralWidget(form_);
    buildMenu(modules);

    notice_ = new QLabel(this);
    link_ = new QLabel(this);
    statusBar()->addWidget(notice_, 1);
    statusBar()->addPermanentWidget(link_);
    statusBar()->setSizeGripEnabled(false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    settings_ = new SettingsWindow(app.form2(), app, this);

    timer1_ = std::make_unique<TimerBinding>(app.show().timer1(), [&app] { app.Timer1_Timer(); });
    timer3_ = std::make_unique<TimerBinding>(app.form().Timer3, [&app] { app.Timer3_Timer(); });
    timer4_ = std::make_unique<TimerBinding>(app.show().timer4(), [&app] { app.Timer4_Timer(); });
    runner_ = std::make_unique<WakeBinding>([&app] { return app.runner().wakeAt(); },
                                            [&platform] { return platform.monotonicSeconds(); },
                                            [&app] { app.runnerWake(); });
    for (std::size_t i = 0; i < modules.size() && i < app.optionCount(); ++i) {
        Option& option = app.option(i);
        if (OptionWindow* window = modules[i].makeWindow(option, app, this)) {
            options_.push_back(window);
        }
        optionWakes_.push_back(std::make_unique<WakeBinding>(
            [&option] { return option.wakeAt(); },
            [&platform] { return platform.monotonicSeconds(); },
            [&app, &option] { app.dispatch([&option] { option.wake(); }); }));
    }
    app.onChanged([this] { refresh(); });
    refresh();
}

MainWindow::~MainWindow() {
    app_.onChanged(nullptr);
}

void MainWindow::buildMenu(const std::vector<OptionModule>& modules) {
    QMenu* file = menuBar()->addMenu(QStringLiteral("Fichier"));
    file->addAction(QStringLiteral("Paramètres"), [this] { app_.n_param_Click(); });
    file->addAction(QStringLiteral("à propos de ..."), [this] { app_.n_a_propos_Click(); });
    file->addAction(QStringLiteral("Quitter"), [this] {
        if (optionsMayQuit()) app_.n_quit_Click();
    });
    // What goes beyond the desk itself, each with a dialog of its own.
    if (modules.empty()) return;
    QMenu* options = menuBar()->addMenu(QStringLiteral("Options"));
    for (std::size_t i = 0; i < modules.size() && i < app_.optionCount(); ++i) {
        Option& option = app_.option(i);
        QAction* entry = options->addAction(
            modules[i].caption, [this, &option] { app_.dispatch([&option] { option.show(); }); });
        if (!modules[i].shortcut.isEmpty()) entry->setShortcut(modules[i].shortcut);
    }
}

void MainWindow::refresh() {
    form_->refresh();
    settings_->refresh();
    for (OptionWindow* option : options_) option->refresh();
    timer1_->refresh();
    timer3_->refresh();
    timer4_->refresh();
    runner_->refresh();
    for (const auto& wake : optionWakes_) wake->refresh();

    const Form1& form = app_.form();
    if (shownNotice_.changed(form.status.notice)) notice_->setText(toQString(*shownNotice_));
    // Each part is compared where it stands: nothing is copied while nothing changed.
    const LampLink& lamps = app_.link();
    bool linkChanged = shownFault_.changed(form.status.linkFault);
    linkChanged |= shownPort_.changed(lamps.portNumber());
    linkChanged |= shownDevice_.changed(lamps.chosenDevice());
    if (linkChanged) {
        // Where the frames go: a device chosen by its path, or else the COM port's number.
        const bool fault = !shownFault_->empty();
        const QString link =
            fault ? toQString(*shownFault_)
            : shownDevice_->empty()
                ? QStringLiteral("Port COM%1").arg(*shownPort_)
                : QStringLiteral("Périphérique %1").arg(QString::fromStdString(*shownDevice_));
        link_->setText(link);
        link_->setStyleSheet(fault ? QStringLiteral("color: #b00000; font-weight: bold;")
                                   : QStringLiteral("color: #305030;"));
        link_->setToolTip(link);
    }
}

bool MainWindow::optionsMayQuit() {
    return std::all_of(options_.begin(), options_.end(),
                       [](OptionWindow* option) { return option->mayQuit(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!optionsMayQuit()) return event->ignore();
    event->accept();
    app_.Form_Unload();
}

}  // namespace lumiere::ui
