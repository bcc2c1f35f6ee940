// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/dmx_status.h"

#include "text/cp1252.h"

namespace lumiere {

std::string describeDmxState(DmxLinkState state, const DmxFrame& frame) {
    const std::string universe = std::to_string(frame.universe);
    switch (state) {
        case DmxLinkState::Off:
            return fromUtf8("Sortie DMX : arrêtée.");
        case DmxLinkState::Connected:
            return fromUtf8("Sortie DMX : OLA reçoit les lampes (") +
                   describeDmxPatch({true, frame.universe, frame.firstChannel, frame.level}) + ").";
        case DmxLinkState::NotResponding:
            return fromUtf8(
                "Sortie DMX : OLA ne répond pas (olad est arrêté, bloqué ou redémarre) ; nouvel "
                "essai chaque seconde.");
        case DmxLinkState::NotOla:
            return fromUtf8(
                "Sortie DMX : ce qui répond sur le port d’OLA n’est pas olad (sa réponse n’est "
                "pas le protocole d’OLA) ; nouvel essai chaque seconde.");
        case DmxLinkState::UniverseMissing:
            return fromUtf8("Sortie DMX : OLA n’a pas d’univers ") + universe +
                   fromUtf8(
                       " ; reliez un port de sortie à cet univers dans OLA (par exemple avec "
                       "ola_patch) ou choisissez un autre univers.");
    }
    return {};
}

}  // namespace lumiere
