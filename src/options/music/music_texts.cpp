// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/music_texts.h"

#include <cmath>

#include "text/cp1252.h"

namespace lumiere::music {

std::string describeMusicError(MusicError error, const std::string& sourceName) {
    switch (error) {
        case MusicError::NoServer:
            return fromUtf8("Musique : aucun serveur de son ne répond");
        case MusicError::SourceGone:
            if (sourceName.empty()) return fromUtf8("Musique : l’entrée par défaut a disparu");
            return fromUtf8("Musique : l’entrée « ") + sourceName +
                   fromUtf8(" » n’existe pas ou a disparu");
        case MusicError::AccessDenied:
            return fromUtf8("Musique : accès au son refusé");
        case MusicError::Other:
            break;
    }
    return fromUtf8("Musique : le son ne peut pas être capté");
}

std::string describeFollowState(FollowState state, double bpm) {
    if (state == FollowState::Following && bpm > 0) {
        return fromUtf8("Musique : " + std::to_string(std::lround(bpm)) + " BPM");
    }
    return fromUtf8("Musique : pas de rythme, vitesse du général");
}

std::string describePulse(double bpm) {
    if (bpm > 0)
        return fromUtf8("Pulsation trouvée : " + std::to_string(std::lround(bpm)) + " BPM");
    return fromUtf8("Pas de pulsation : l’effet garde la vitesse du Général");
}

}  // namespace lumiere::music
