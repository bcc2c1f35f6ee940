// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <algorithm>
#include <cstdio>

#include "model/platform.h"
#include "model/program_files.h"
#include "settings/port_setting.h"
#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {

Application::Application(Platform& platform, SerialPort& port, std::vector<OptionFactory> options,
                         AppConfig config)
    : platform_(platform),
      form_(makeForm1()),
      form2_(makeForm2()),
      link_(port, PortDevices(platform.programFolder(), config.systemPorts)),
      show_(form_, values_, link_, platform_),
      faders_(form_, values_, show_),
      knobs_(form_, values_, platform_),
      switch_(form_, values_, platform_, show_, faders_),
      runner_(form_, values_, platform_, show_, faders_),
      buttons_(form_, values_, platform_, show_, runner_),
      settings_(form2_, link_, programFile(platform, "param.ini")),
      context_{form_,
               values_,
               show_,
               link_,
               port,
               platform_,
               *this,
               programFile(platform, "param.ini"),
               [this](std::function<void()> work) {
                   platform_.post([this, work = std::move(work)] { handle(work); });
               }} {
    // The one place where the runner learns which buttons its steps click.
    runner_.clickButtonsWith(buttons_);
    for (const OptionFactory& make : options) options_.push_back(make(context_));
}

void Application::Form_Load() {
    handle([this] {
        values_.marche = 0;
        for (Gauge& gauge : form_.Gauge1) {
            gauge.min = 0;
            gauge.max = 20;
            gauge.value = std::clamp(gauge.value, gauge.min, gauge.max);
        }
        for (Label& lamp : form_.lampe) lamp.backColor = colour::kLightGrey;

        const std::string profilePath = programFile(platform_, "param.ini");
        Profile profile;
        if (const int err = loadProfile(profilePath, profile); err != 0) {
            form_.status.note(fromUtf8("Réglages illisibles, " + profilePath + " : ") +
                              describeError(err));
        }
        const std::string port = portText(profile);
        link_.setPortNumber(startupPortNumber(port));
        form2_.Text1.text = port;

        const std::string picture = pictureName(profile);
        loadPictureInto(platform_, form_, toUtf8(picture), form_.Picture11.picture);
        form2_.Text2.text = picture;

        for (const auto& option : options_) option->load(profile);
        link_.probe();
    });
}

void Application::clickButton(int index) {
    buttons_.Command11_Click(index);
}

void Application::stopAll() {
    buttons_.stopAll();
}

void Application::clickSwitch() {
    switch_.inter_Click();
}

void Application::playSteps(const std::vector<std::string>& steps, bool fromFirst) {
    // As an Animation button reads its file: from etape(1), up to the last element.
    const std::size_t count = std::min(steps.size(), values_.etape.size() - 1);
    std::copy_n(steps.begin(), count, values_.etape.begin() + 1);
    values_.choix = 0;
    buttons_.releaseAll();
    if (fromFirst) show_.restartSteps();
    if (values_.marche == 1) show_.play();
}

void Application::moveMaster(int level) {
    faders_.moveTo(8, level);
}

void Application::runSequence(const std::string& path) {
    buttons_.launchSequenceFile(path);
}

void Application::note(const std::string& text) {
    handle([&] { form_.status.note(text); });
}

void Application::shutdown() {
    show_.end();
    for (const auto& option : options_) option->shutdown();
    platform_.endApplication();
}

void Application::Form_Unload() {
    handle([this] { shutdown(); });
    ending_ = true;
}

void Application::n_quit_Click() {
    handle([this] { shutdown(); });
    ending_ = true;
}

void Application::n_a_propos_Click() {
    handle([this] {
        platform_.messageBox("A propos de...",
                             fromUtf8("Jeu de lumière commandé par PC - ver 1.0 - Lumière 2026"));
    });
}

void Application::n_param_Click() {
    handle([this] { settings_.show(); });
}

void Application::Timer1_Timer() {
    handle([this] { show_.Timer1_Timer(); });
}

void Application::Timer3_Timer() {
    handle([this] {
        const TimeOfDay t = platform_.timeOfDay();
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hours % 100, t.minutes % 100,
                      t.seconds % 100);
        form_.montre.caption = text;
        for (const auto& option : options_) option->poll();
    });
}

void Application::Timer4_Timer() {
    handle([this] { show_.Timer4_Timer(); });
}

void Application::runnerWake() {
    handle([this] { runner_.wake(); });
}

void Application::Picture11_MouseMove(int button, int shift, Twips x, Twips y) {
    handle([&] { faders_.Picture11_MouseMove(button, shift, x, y); });
}

void Application::Picture11_MouseDown(int button, int shift, Twips x, Twips y) {
    handle([&] { faders_.Picture11_MouseDown(button, shift, x, y); });
}

void Application::potar_MouseDown(int index, int button, int shift, Twips x, Twips y) {
    handle([&] { knobs_.potar_MouseDown(index, button, shift, x, y); });
}

void Application::Image4_MouseMove(int button, int shift, Twips x, Twips y) {
    handle([&] { knobs_.Image4_MouseMove(button, shift, x, y); });
}

void Application::inter_Click() {
    handle([this] { switch_.inter_Click(); });
}

void Application::lampe_Click(int index) {
    handle([&] { buttons_.lampe_Click(index); });
}

void Application::Command11_Click(int index) {
    handle([&] { buttons_.Command11_Click(index); });
}

void Application::Command11_MouseDown(int index, int button, int shift, Twips x, Twips y) {
    handle([&] { buttons_.Command11_MouseDown(index, button, shift, x, y); });
}

void Application::Slider1_Scroll(int value) {
    handle([&] { form_.Slider1.value = std::clamp(value, form_.Slider1.min, form_.Slider1.max); });
}

void Application::Slider1_Click() {
    handle([this] { knobs_.Slider1_Click(); });
}

void Application::Slider2_Scroll(int value) {
    handle([&] { form_.Slider2.value = std::clamp(value, form_.Slider2.min, form_.Slider2.max); });
}

void Application::Text1_Change(const std::string& text) {
    handle([&] { form2_.Text1.text = text; });
}

void Application::Text2_Change(const std::string& text) {
    handle([&] { form2_.Text2.text = text; });
}

void Application::Command2_Click() {
    handle([this] { settings_.Command2_Click(); });
}

void Application::Command12_Click() {
    handle([this] { settings_.Command12_Click(); });
}

void Application::Form2_Close() {
    handle([this] { settings_.Command12_Click(); });
}

}  // namespace lumiere
