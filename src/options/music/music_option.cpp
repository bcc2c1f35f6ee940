// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/music_option.h"

#include <algorithm>
#include <chrono>

#include "model/form1.h"
#include "model/platform.h"
#include "option/section_reader.h"
#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/french.h"
#include "text/number.h"
#include "text/trim.h"

namespace lumiere {
namespace {

constexpr std::string_view kSection = "Musique";
constexpr double kRetrySeconds = 3;   // a failed input is tried again this often
constexpr double kSoundLeadsFor = 2;  // seconds a heard beat keeps the taps silent
constexpr std::size_t kInputLimit = 4096;
constexpr std::size_t kShownId = 40;  // characters of an unknown input's id in a message
constexpr double kStallSeconds = 3;   // without any sound from a working capture: stalled
constexpr const char* kStalled =
    "Musique : le serveur de son ne donne plus rien depuis 3 s (bloqué ?) ; l’effet garde la "
    "vitesse du Général.";
constexpr const char* kSoundBack =
    "Musique : le son revient, la musique est de nouveau suivie.";  // characters of an input id
                                                                    // read from the file

MusicSettings readSettings(const Profile& profile, StatusBar& status) {
    SectionReader section(profile, kSection);
    MusicSettings settings;
    settings.enabled = section.flag("Actif", false, "la musique n’est pas suivie.");
    settings.input = section.text("Entree", kInputLimit);
    settings.sensitivity = section.number("Sensibilite", {kMinSensitivity, kMaxSensitivity},
                                          music::kDefaultSensitivity, "la sensibilité ", true);
    for (const std::string& note : section.notes()) status.note(note);
    return settings;
}

}  // namespace

MusicOption::MusicOption(MusicServices services, OptionContext& context)
    : services_(std::move(services)), context_(context) {
    context_.show.gateTicksWith(*this);
    showState();
}

double MusicOption::now() const {
    return context_.platform.monotonicSeconds();
}

MusicOption::~MusicOption() {
    stopCapture();
    if (lister_.joinable()) lister_.join();
}

music::MusicClock::time_point MusicOption::at(double seconds) const {
    return music::MusicClock::time_point(std::chrono::duration_cast<music::MusicClock::duration>(
        std::chrono::duration<double>(seconds)));
}

void MusicOption::load(const Profile& profile) {
    dialog_.settings = readSettings(profile, context_.form.status);
    if (dialog_.settings.enabled && !services_.lacking.empty()) {
        context_.form.status.note(lackingText());
    }
    updateCapture();
    showState();
}

bool MusicOption::tickSteps() {
    if (!dialog_.settings.enabled) return true;
    return follower_.tick(at(now()));
}

void MusicOption::show() {
    dialog_.message.clear();
    dialog_.visible = true;
    refreshInputs();
    updateCapture();
}

void MusicOption::close() {
    dialog_.visible = false;
    dialog_.message.clear();
    updateCapture();
}

void MusicOption::setEnabled(bool enabled) {
    dialog_.settings.enabled = enabled;
    follower_.reset();
    updateCapture();
    showState();
}

void MusicOption::selectInput(const std::string& id) {
    dialog_.settings.input = id;
    follower_.reset();
    updateCapture();
}

void MusicOption::setSensitivity(int sensitivity) {
    dialog_.settings.sensitivity = std::clamp(sensitivity, kMinSensitivity, kMaxSensitivity);
    if (input_) input_->setSensitivity(dialog_.settings.sensitivity);
}

void MusicOption::refreshInputs() {
    if (dialog_.listing) return;
    if (lister_.joinable()) lister_.join();
    dialog_.listing = true;
    lister_ = std::thread([this, list = services_.listInputs, post = context_.post] {
        music::SourceList result = list ? list() : music::SourceList{};
        post([this, result = std::move(result)] { inputsListed(result); });
    });
}

void MusicOption::inputsListed(const music::SourceList& list) {
    dialog_.listing = false;
    dialog_.inputs.clear();
    for (const music::SourceInfo& source : list.sources) {
        dialog_.inputs.push_back({source.id, source.description, source.monitor});
    }
    // A server that does not answer is said by the capture, which asks it too.
}

void MusicOption::tap() {
    taps_.tap(at(now()));
    if (const auto bpm = taps_.bpm(); bpm && !soundLeads()) dialog_.bpm = *bpm;
    showState();
}

void MusicOption::save() {
    const MusicSettings& settings = dialog_.settings;
    const int err = updateProfile(context_.profilePath, [&](Profile& profile) {
        profile.write(kSection, "Actif", settings.enabled ? "1" : "0");
        profile.write(kSection, "Entree", settings.input);
        profile.write(kSection, "Sensibilite", std::to_string(settings.sensitivity));
    });
    dialog_.message = savedOrForThisSession(err);
}

bool MusicOption::soundLeads() const {
    return now() - lastSoundBeat_ < kSoundLeadsFor;
}

std::optional<double> MusicOption::wakeAt() const {
    if (!dialog_.settings.enabled || soundLeads()) return std::nullopt;
    const auto next = taps_.nextBeatAfter(at(now()));
    if (!next) return std::nullopt;
    return std::chrono::duration<double>(next->time_since_epoch()).count();
}

void MusicOption::wake() {
    if (!dialog_.settings.enabled || soundLeads()) return;
    const auto time = at(now());
    if (!taps_.takeBeat(time)) return;
    ++dialog_.beats;
    if (follower_.beat(time)) context_.show.stepOnBeat();
    showState();
}

void MusicOption::poll() {
    if (wanted() && failed_ && now() - failedAt_ >= kRetrySeconds) startCapture();
    // A capture that delivered sound and then nothing at all (a frozen sound server): said once,
    // and again when the sound comes back. A silent input still delivers its silence.
    if (input_ && working_ && !stalled_ && now() - lastSound_ >= kStallSeconds) {
        stalled_ = true;
        context_.form.status.note(fromUtf8(kStalled));
    }
    showState();
}

void MusicOption::updateCapture() {
    if (!wanted()) return stopCapture();
    if (!input_ || capturing_ != dialog_.settings.input) startCapture();
}

void MusicOption::stopCapture() {
    ++generation_;  // whatever the old capture posted is ignored from now on
    if (input_) input_->stop();
    input_.reset();
    dialog_.level = 0;
}

void MusicOption::startCapture() {
    stopCapture();
    const int generation = generation_;
    input_ = services_.input ? services_.input() : nullptr;
    capturing_ = dialog_.settings.input;
    working_ = false;
    stalled_ = false;
    if (!input_) return;
    music::BeatListener listener;
    listener.onBeat = [this, generation](const music::BeatEvent&) {
        context_.post([this, generation] { onBeat(generation); });
    };
    listener.onLevel = [this, generation](const music::Level& level) {
        context_.post([this, generation, peak = level.peak] { onLevel(generation, peak); });
    };
    listener.onTempo = [this, generation](double bpm) {
        context_.post([this, generation, bpm] { onTempo(generation, bpm); });
    };
    listener.onError = [this, generation](music::MusicError error, const std::string& text) {
        context_.post([this, generation, error, text] { onError(generation, error, text); });
    };
    std::string description;
    for (const MusicInput& input : dialog_.inputs) {
        if (input.id == capturing_) description = input.description;
    }
    // An input the server does not list (hand-edited in param.ini) is named by its id, cut
    // short: the error must name the input asked for, not the default one.
    if (description.empty() && !capturing_.empty()) {
        description =
            capturing_.size() > kShownId ? capturing_.substr(0, kShownId) + "..." : capturing_;
        description = fromUtf8(description);
    }
    input_->start({capturing_, description, false}, std::move(listener),
                  dialog_.settings.sensitivity);
}

void MusicOption::onBeat(int generation) {
    if (generation != generation_) return;
    onLevel(generation, dialog_.level);  // a beat proves the input works
    lastSoundBeat_ = now();
    ++dialog_.beats;
    if (dialog_.settings.enabled && follower_.beat(at(lastSoundBeat_))) context_.show.stepOnBeat();
    showState();
}

void MusicOption::onLevel(int generation, double peak) {
    if (generation != generation_) return;
    dialog_.level = peak;
    lastSound_ = now();
    if (stalled_) {
        stalled_ = false;
        context_.form.status.note(fromUtf8(kSoundBack));
        showState();
    }
    if (working_) return;
    working_ = true;
    failed_.reset();  // the episode of the last failure is over
    // The status bar said why the music was not heard: it says too that it is heard again.
    if (!saidError_.empty()) context_.form.status.note(fromUtf8(kSoundBack));
    saidError_.clear();
    showState();
}

void MusicOption::onTempo(int generation, double bpm) {
    if (generation != generation_) return;
    dialog_.bpm = bpm;
    showState();
}

void MusicOption::onError(int generation, music::MusicError error, const std::string& text) {
    if (generation != generation_) return;
    stopCapture();
    failed_ = error;
    failedAt_ = now();
    if (text != saidError_) {
        context_.form.status.note(
            text);  // once per episode: tries that fail the same way say nothing
        saidError_ = text;
    }
    showState();
}

std::string MusicOption::lackingText() const {
    return fromUtf8("Musique : cette version de Lumière a été construite sans ") +
           services_.lacking + fromUtf8(" ; elle n’entend pas la musique (Tap marche).");
}

void MusicOption::showState() {
    context_.show.setPulse({dialog_.settings.enabled, dialog_.beats, dialog_.bpm});
    if (!services_.lacking.empty()) {
        dialog_.state = lackingText();
    } else if (stalled_) {
        dialog_.state = fromUtf8(kStalled);
    } else if (failed_) {
        dialog_.state = saidError_;
    } else if (!dialog_.settings.enabled) {
        dialog_.state = fromUtf8("Musique : la musique n’est pas suivie.");
    } else {
        dialog_.state = music::describeFollowState(follower_.state(at(now())), dialog_.bpm);
    }
}

OptionFactory makeMusicOption(MusicServices services) {
    return [services = std::move(services)](OptionContext& context) {
        return std::make_unique<MusicOption>(services, context);
    };
}

}  // namespace lumiere
