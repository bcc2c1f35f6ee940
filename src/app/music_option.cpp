// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/music_option.h"

#include <algorithm>
#include <chrono>

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
constexpr std::size_t kValueLimit = 256;

class SoundServerInput final : public BeatInput {
public:
    explicit SoundServerInput(music::PulseOptions options) : source_(std::move(options)) {}
    bool start(const music::SourceInfo& source, music::BeatListener listener,
               int sensitivity) override {
        return source_.start(source, std::move(listener), sensitivity);
    }
    void setSensitivity(int sensitivity) override { source_.setSensitivity(sensitivity); }
    void stop() override { source_.stop(); }

private:
    music::BeatSource source_;
};

std::string fileNote(const char* key, const std::string& raw, const char* what) {
    return fromUtf8("param.ini, section [Musique] : ") + key + "=" + raw.substr(0, 20) + " " +
           fromUtf8(what);
}

MusicSettings readSettings(const Profile& profile, StatusBar& status) {
    MusicSettings settings;
    const std::string active = profile.read(kSection, "Actif", kValueLimit);
    if (const auto on = parseWholeNumber(active); on && (*on == 0 || *on == 1)) {
        settings.enabled = *on == 1;
    } else if (!active.empty()) {
        status.note(fileNote("Actif", active, "n’est ni 0 ni 1 ; la musique n’est pas suivie."));
    }
    settings.input = std::string(trim(profile.read(kSection, "Entree", 4096), kSpacesAndTabs));
    const std::string raw = profile.read(kSection, "Sensibilite", kValueLimit);
    if (raw.empty()) return settings;
    const auto number = parseWholeNumber(raw);
    const int value =
        number ? static_cast<int>(std::clamp(roundHalfEven(*number), double(kMinSensitivity),
                                             double(kMaxSensitivity)))
               : music::kDefaultSensitivity;
    if (!number || value != *number) {
        status.note(fileNote("Sensibilite", raw,
                             ("n’est pas un nombre entier de 1 à 10 ; la sensibilité " +
                              std::to_string(value) + " est utilisée.")
                                 .c_str()));
    }
    settings.sensitivity = value;
    return settings;
}

}  // namespace

MusicServices soundServer(music::PulseOptions options) {
    return {[options] { return std::make_unique<SoundServerInput>(options); },
            [options] { return music::listSources(options); }};
}

MusicOption::MusicOption(MusicServices services, Post post, std::function<void()> step,
                         std::function<double()> now, StatusBar& status, std::string profilePath)
    : services_(std::move(services)),
      post_(std::move(post)),
      step_(std::move(step)),
      now_(std::move(now)),
      status_(status),
      profilePath_(std::move(profilePath)) {
    showState();
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
    dialog_.settings = readSettings(profile, status_);
    updateCapture(false);
    showState();
}

bool MusicOption::tickSteps() {
    if (!dialog_.settings.enabled) return true;
    return follower_.tick(at(now_()));
}

void MusicOption::show() {
    dialog_.message.clear();
    dialog_.visible = true;
    refreshInputs();
    updateCapture(false);
}

void MusicOption::close() {
    dialog_.visible = false;
    dialog_.message.clear();
    updateCapture(false);
}

void MusicOption::setEnabled(bool enabled) {
    dialog_.settings.enabled = enabled;
    follower_.reset();
    updateCapture(false);
    showState();
}

void MusicOption::selectInput(const std::string& id) {
    dialog_.settings.input = id;
    follower_.reset();
    updateCapture(false);
}

void MusicOption::setSensitivity(int sensitivity) {
    dialog_.settings.sensitivity = std::clamp(sensitivity, kMinSensitivity, kMaxSensitivity);
    if (input_) input_->setSensitivity(dialog_.settings.sensitivity);
}

void MusicOption::refreshInputs() {
    if (dialog_.listing) return;
    if (lister_.joinable()) lister_.join();
    dialog_.listing = true;
    lister_ = std::thread([this, list = services_.listInputs, post = post_] {
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
    taps_.tap(at(now_()));
    if (const auto bpm = taps_.bpm(); bpm && !soundLeads()) dialog_.bpm = *bpm;
}

void MusicOption::save() {
    const MusicSettings& settings = dialog_.settings;
    const int err = updateProfile(profilePath_, [&](Profile& profile) {
        profile.write(kSection, "Actif", settings.enabled ? "1" : "0");
        profile.write(kSection, "Entree", settings.input);
        profile.write(kSection, "Sensibilite", std::to_string(settings.sensitivity));
    });
    dialog_.message = savedOrForThisSession(err);
}

bool MusicOption::soundLeads() const {
    return now_() - lastSoundBeat_ < kSoundLeadsFor;
}

std::optional<double> MusicOption::tapBeatAt() const {
    if (!dialog_.settings.enabled || soundLeads()) return std::nullopt;
    const auto next = taps_.nextBeatAfter(at(now_()));
    if (!next) return std::nullopt;
    return std::chrono::duration<double>(next->time_since_epoch()).count();
}

void MusicOption::tapBeat() {
    if (!dialog_.settings.enabled || soundLeads()) return;
    const auto now = at(now_());
    if (!taps_.takeBeat(now)) return;
    ++dialog_.beats;
    if (follower_.beat(now)) step_();
    showState();
}

void MusicOption::poll() {
    if (wanted() && failed_ && now_() - failedAt_ >= kRetrySeconds) startCapture();
    showState();
}

void MusicOption::updateCapture(bool restart) {
    if (!wanted()) return stopCapture();
    if (!input_ || restart || capturing_ != dialog_.settings.input) startCapture();
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
    if (!input_) return;
    music::BeatListener listener;
    listener.onBeat = [this, generation](const music::BeatEvent&) {
        post_([this, generation] { onBeat(generation); });
    };
    listener.onLevel = [this, generation](const music::Level& level) {
        post_([this, generation, peak = level.peak] { onLevel(generation, peak); });
    };
    listener.onTempo = [this, generation](double bpm) {
        post_([this, generation, bpm] { onTempo(generation, bpm); });
    };
    listener.onError = [this, generation](music::MusicError error, const std::string& text) {
        post_([this, generation, error, text] { onError(generation, error, text); });
    };
    std::string description;
    for (const MusicInput& input : dialog_.inputs) {
        if (input.id == capturing_) description = input.description;
    }
    input_->start({capturing_, description, false}, std::move(listener),
                  dialog_.settings.sensitivity);
}

void MusicOption::onBeat(int generation) {
    if (generation != generation_) return;
    onLevel(generation, dialog_.level);  // a beat proves the input works
    lastSoundBeat_ = now_();
    ++dialog_.beats;
    if (dialog_.settings.enabled && follower_.beat(at(lastSoundBeat_))) step_();
    showState();
}

void MusicOption::onLevel(int generation, double peak) {
    if (generation != generation_) return;
    dialog_.level = peak;
    if (working_) return;
    working_ = true;
    failed_.reset();  // the episode of the last failure is over
    saidError_.clear();
    showState();
}

void MusicOption::onTempo(int generation, double bpm) {
    if (generation != generation_) return;
    dialog_.bpm = bpm;
}

void MusicOption::onError(int generation, music::MusicError error, const std::string& text) {
    if (generation != generation_) return;
    stopCapture();
    failed_ = error;
    failedAt_ = now_();
    if (text != saidError_) {
        status_.note(text);  // once per episode: tries that fail the same way say nothing
        saidError_ = text;
    }
    showState();
}

void MusicOption::showState() {
    if (failed_) {
        dialog_.state = saidError_;
    } else if (!dialog_.settings.enabled) {
        dialog_.state = fromUtf8("Musique : la musique n’est pas suivie.");
    } else {
        dialog_.state = music::describeFollowState(follower_.state(at(now_())), dialog_.bpm);
    }
}

}  // namespace lumiere
