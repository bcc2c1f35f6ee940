// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Musique…": the running effect steps on the beat of a sound input (a microphone, a
// line input, or the monitor of an output: the music this computer plays), or of a tempo tapped
// by hand. Off by default: then nothing listens, and every tick of the player steps the effect
// as it always did. On, one beat makes one step (never two within 150 ms), and two seconds
// without a beat give the effect back to the master's interval until the beats return.
//
// The capture and the analysis run on a thread of their own; what they find is posted to the
// window's thread, where the step is taken as the beat arrives.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "music/beat_follower.h"
#include "music/beat_source.h"
#include "music/music_texts.h"
#include "music/pulse_capture.h"
#include "music/tap_tempo.h"
#include "option/option.h"
#include "playback/show.h"

namespace lumiere {

// Where the beats come from: the sound server through music::BeatSource, or a test's own.
class BeatInput {
public:
    virtual ~BeatInput() = default;
    virtual bool start(const music::SourceInfo& source, music::BeatListener listener,
                       int sensitivity) = 0;
    virtual void setSensitivity(int sensitivity) = 0;
    virtual void stop() = 0;
};

struct MusicServices {
    std::function<std::unique_ptr<BeatInput>()> input;
    std::function<music::SourceList()> listInputs;  // may take two seconds: never on the window
    std::string lacking;  // what this build lacks to hear music ("aubio", "libpulse"), if anything
};
// The desktop's sound server (PulseAudio, or PipeWire through the same protocol); empty in a
// build without libpulse or aubio.
MusicServices soundServer(music::PulseOptions options = {});

inline constexpr int kMinSensitivity = 1;
inline constexpr int kMaxSensitivity = 10;

struct MusicSettings {
    bool enabled = false;  // [Musique] Actif
    std::string input;     // Entree: the input's id; empty: the server's default input
    int sensitivity = music::kDefaultSensitivity;  // Sensibilite, 1 to 10

    bool operator==(const MusicSettings&) const = default;
};

struct MusicInput {
    std::string id;
    std::string description;  // Windows-1252
    bool monitor = false;     // what an output of this computer plays

    bool operator==(const MusicInput&) const = default;
};

// The dialog as the user sees it.
struct MusicDialog {
    bool visible = false;
    MusicSettings settings;          // what the controls show, in force at once
    std::vector<MusicInput> inputs;  // the server's inputs, monitors included
    bool listing = false;            // the list is being asked for
    double level = 0;                // peak of the last 50 ms, 0 to 1
    int beats = 0;                   // beats heard so far: the lamp flashes on each
    double bpm = 0;                  // the tempo found, or tapped; 0 for none
    std::string state;               // following, the master's interval, or why not
    std::string message;             // what "Enregistrer" did

    bool operator==(const MusicDialog&) const = default;
};

class MusicOption final : public Option, public TickGate {
public:
    // Empty services: this build cannot hear the music, and the dialog says so.
    MusicOption(MusicServices services, OptionContext& context);
    ~MusicOption() override;
    MusicOption(const MusicOption&) = delete;
    MusicOption& operator=(const MusicOption&) = delete;

    const MusicDialog& dialog() const { return dialog_; }

    // Start-up: the [Musique] section; a value not usable as written is said.
    void load(const Profile& profile) override;

    // A tick of the player's timer: true when it steps the effect.
    bool tickSteps() override;

    void show() override;
    void close() override;
    bool visible() const override { return dialog_.visible; }
    void setEnabled(bool enabled);
    void selectInput(const std::string& id);
    void setSensitivity(int sensitivity);
    void refreshInputs();  // "Actualiser"
    void tap();            // "Tap", or the key T
    void save();           // "Enregistrer"

    // The next beat of a tapped tempo, in seconds of the window's clock, while one drives the
    // effect; and its arrival.
    std::optional<double> wakeAt() const override;
    void wake() override;

    // Once a second: the state shown, and a new try of an input that failed.
    void poll() override;

private:
    bool wanted() const { return dialog_.settings.enabled || dialog_.visible; }
    double now() const;
    std::string lackingText() const;
    void updateCapture();
    void startCapture();
    void stopCapture();
    void onBeat(int generation);
    void onLevel(int generation, double peak);
    void onTempo(int generation, double bpm);
    void onError(int generation, music::MusicError error, const std::string& text);
    void inputsListed(const music::SourceList& list);
    bool soundLeads() const;
    void showState();
    music::MusicClock::time_point at(double seconds) const;

    MusicServices services_;
    OptionContext& context_;
    MusicDialog dialog_;
    music::BeatFollower follower_;
    music::TapTempo taps_;

    std::unique_ptr<BeatInput> input_;
    std::string capturing_;  // the input the capture runs on
    int generation_ = 0;     // of the capture: what an older one posted is ignored
    bool working_ = false;   // the capture has delivered sound since it started
    std::optional<music::MusicError> failed_;
    std::string saidError_;  // the error text of the current episode, said once
    double failedAt_ = 0;
    double lastSoundBeat_ = -1e9;
    double lastSound_ = 0;  // when the capture last delivered sound (or its silence)
    bool stalled_ = false;  // it has delivered nothing for kStallSeconds
    std::thread lister_;
};

// The option as the application makes it.
OptionFactory makeMusicOption(MusicServices services);

}  // namespace lumiere
