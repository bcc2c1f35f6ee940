// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "app/application.h"
#include "model/platform.h"
#include "ui/form_view.h"
#include "ui/qt_bridge.h"
#include "ui/settings_window.h"
#include "ui/timer_binding.h"

namespace lumiere::ui {

MainWindow::MainWindow(Application& app, Platform& platform,
                       const std::vector<OptionModule>& modules)
    : app_(app), platform_(platform) {
    setWindowTitle(toQString(app.form().caption));
    form_ = new FormView(app.form(), app, app, this);
    setCentralWidget(form_);
    buildMenu(modules);

    // The status bar: where the frames go (or why they do not) on a line of its own, and under
    // it the notices, wrapped, never cut at the window's edge.
    auto* bar = new QWidget(this);
    notice_ = new QLabel(bar);
    link_ = new QLabel(bar);
    for (QLabel* label : {link_, notice_}) {
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    notice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notice_->setMinimumHeight(3 * notice_->fontMetrics().lineSpacing());
    auto* lines = new QVBoxLayout(bar);
    lines->setContentsMargins(4, 0, 4, 2);
    lines->setSpacing(0);
    lines->addWidget(link_);
    lines->addWidget(notice_, 1);
    statusBar()->addWidget(bar, 1);
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
        // A dialog is made when its option first shows it: until then it costs nothing, at
        // start-up or at each event.
        options_.push_back({&option, modules[i].makeWindow, nullptr});
        if (modules[i].madeAtStart) makeWindow(options_.back());
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
    for (OptionSlot& slot : options_) {
        if (!slot.window && slot.make && slot.option->visible()) makeWindow(slot);
        if (slot.window) slot.window->refresh();
    }
    timer1_->refresh();
    timer3_->refresh();
    timer4_->refresh();
    runner_->refresh();
    for (const auto& wake : optionWakes_) wake->refresh();

    const Form1& form = app_.form();
    if (shownNotice_.changed(form.status.notice)) {
        const TimeOfDay t = platform_.timeOfDay();
        char clock[16];
        std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", t.hours % 100, t.minutes % 100,
                      t.seconds % 100);
        notices_.said(*shownNotice_, platform_.monotonicSeconds(), clock);
    }
    showNotices();
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

void MainWindow::makeWindow(OptionSlot& slot) {
    slot.window = slot.make(*slot.option, app_, this);
    slot.make = nullptr;  // made once: a module that makes no dialog is not asked again
}

bool MainWindow::optionsMayQuit() {
    return std::all_of(options_.begin(), options_.end(), [](const OptionSlot& slot) {
        return !slot.window || slot.window->mayQuit();
    });
}

void MainWindow::showNotices() {
    const std::vector<std::string> now = notices_.shown(platform_.monotonicSeconds());
    if (!shownNotices_.changed(now)) return;
    QStringList lines;
    for (const std::string& line : now) lines << toQString(line);
    notice_->setText(lines.join(QStringLiteral("\n")));
    QStringList history;
    for (const std::string& line : notices_.history()) history << toQString(line);
    notice_->setToolTip(history.isEmpty() ? QString()
                                          : QStringLiteral("Derniers messages :\n") +
                                                history.join(QStringLiteral("\n")));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!optionsMayQuit()) return event->ignore();
    event->accept();
    app_.Form_Unload();
}

}  // namespace lumiere::ui
