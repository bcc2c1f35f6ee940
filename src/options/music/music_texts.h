// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The French texts of music following, for the status bar and the dialogs, in Windows-1252 like
// every text of the core.

#include <string>

#include "music/beat_follower.h"

namespace lumiere::music {

enum class MusicError {
    NoServer,      // no sound server answers, or it stopped while capturing
    SourceGone,    // the input chosen does not exist, or was unplugged or removed
    AccessDenied,  // the sound server refused this user
    Other,
};

// "Musique : aucun serveur de son ne répond", "Musique : l’entrée « Micro » a disparu", …
// `sourceName` (Windows-1252, as SourceInfo::description) names the input for SourceGone;
// empty means the default input.
std::string describeMusicError(MusicError error, const std::string& sourceName = {});

// "Musique : 128 BPM" while following, "Musique : pas de rythme, vitesse du général" in fallback.
std::string describeFollowState(FollowState state, double bpm);

// What the analysis hears, for the dialog: "Pulsation trouvée : 128 BPM" while a beat is found
// (`bpm` > 0, the tempo the beats follow, as onTempo gives it), "Pas de pulsation : l’effet garde
// la vitesse du Général" while none is (0).
std::string describePulse(double bpm);

}  // namespace lumiere::music
