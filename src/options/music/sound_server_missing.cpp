// SPDX-License-Identifier: GPL-3.0-or-later
// A build without aubio or without libpulse hears no music: the option says so, and a tapped
// tempo still steps the effect.
#include "music/music_option.h"

namespace lumiere {

MusicServices soundServer(music::PulseOptions) {
#ifdef LUMIERE_WITHOUT_AUBIO
    return {{}, {}, "aubio"};
#else
    return {{}, {}, "libpulse"};
#endif
}

}  // namespace lumiere
