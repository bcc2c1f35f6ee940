#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the music sets the beat benchmark and the music tests score on, from Debian packages.

General MIDI arrangements are rendered to WAV with fluidsynth and a GM soundfont; the true beats
are the quarter notes of each file's own tempo map. Every arrangement gives three excerpts (all
drums, the drums without the kick, no drums: the drum channel muted), each twice: "clean" (what
the computer plays) and "room" (what a laptop microphone at a party hears: 150-7000 Hz, reverb,
pink noise 15 dB below the music).

  dev      the development set: bench/music/songs/*.mma (mma's groove library) and the MIDI
           files of planetblupi-music-midi
  games    a second development set, of game music like the held-out set's: the MIDI files of
           simutrans-data and freedink-data
  heldout  the MIDI files of openttd-openmsx, kept to judge the result, never to tune on

Each set is a folder of the cache with one WAV (44 100 Hz, 16 bit) and one .beats file (one time
in seconds a line) per excerpt, and a manifest <set>.tsv. Nothing is installed here; see
scripts/music-set.sh.
"""

import argparse
import concurrent.futures
import os
import shutil
import subprocess
import sys
import tempfile
import time
import wave

import mido
import numpy as np

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SONGS = os.path.join(ROOT, "bench", "music", "songs")
BLUPI = "/usr/share/planetblupi/music"
OPENMSX = "/usr/share/games/openttd/baseset/openmsx"
SIMUTRANS = "/usr/share/games/simutrans/music"
DINK = "/usr/share/games/dink/dink/Sound"
SOUNDFONTS = ["/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"]
RATE = 44100
DRUM_CHANNEL = 9
KICKS = {35, 36}  # Acoustic Bass Drum, Bass Drum 1
SNARES = {38, 40}  # Acoustic Snare, Electric Snare
KICKS_AND_SNARES = KICKS | SNARES
VARIANTS = ["drums", "nokick", "nodrums"]
SLOWEST, FASTEST = 60.0, 210.0  # excerpts whose tempo is outside are left out


def timed(midi):
    """(tick, message) of every message of every track, each track from tick 0."""
    for track in midi.tracks:
        tick = 0
        for message in track:
            tick += message.time
            yield tick, message


def beat_times(midi):
    """Seconds of every quarter note of the file, from its tempo map."""
    changes = [(tick, m.tempo) for tick, m in timed(midi) if m.type == "set_tempo"]
    changes.sort(key=lambda c: c[0])
    if not changes or changes[0][0] > 0:
        changes.insert(0, (0, 500000))
    end_tick = max(sum(m.time for m in track) for track in midi.tracks)
    ppq = midi.ticks_per_beat
    times = []
    seconds, at, tempo, index = 0.0, 0, changes[0][1], 0
    for tick in range(0, end_tick + 1, ppq):
        while index + 1 < len(changes) and changes[index + 1][0] <= tick:
            index += 1
            seconds += (changes[index][0] - at) * tempo / 1e6 / ppq
            at, tempo = changes[index][0], changes[index][1]
        times.append(seconds + (tick - at) * tempo / 1e6 / ppq)
    return times


def tick_at(midi, seconds):
    """The tick of the file at `seconds`, from its quarter notes."""
    beats = beat_times(midi)
    for index, t in enumerate(beats):
        if t >= seconds:
            return index * midi.ticks_per_beat
    return len(beats) * midi.ticks_per_beat


def meter_of(midi):
    for track in midi.tracks:
        for message in track:
            if message.type == "time_signature":
                return f"{message.numerator}/{message.denominator}"
    return "4/4"


def has_drums(midi):
    return any(m.type == "note_on" and m.channel == DRUM_CHANNEL and m.velocity > 0
               for track in midi.tracks for m in track)


def grid_off(midi):
    """Whether the file's quarter-note grid lies half a beat off its music: the kick and snare
    fall far more often on the grid's half beats than on its beats. Such a file's beats would
    not be the music's, so it is left out."""
    ppq = midi.ticks_per_beat
    places = [(tick % ppq) / ppq for tick, m in timed(midi)
              if m.type == "note_on" and m.velocity > 0 and m.channel == DRUM_CHANNEL
              and m.note in KICKS_AND_SNARES]
    count = len(places)
    on = sum(place < 1 / 16 or place > 15 / 16 for place in places)
    half = sum(abs(place - 0.5) < 1 / 16 for place in places)
    return count >= 50 and half > 0.4 * count and half > 2 * on


def variant_of(midi, variant, end_tick):
    """A copy of the file without its kick drums, or without any drum note, that ends at
    `end_tick` (fluidsynth renders a file to its end)."""
    out = mido.MidiFile(type=midi.type, ticks_per_beat=midi.ticks_per_beat)
    for track in midi.tracks:
        kept = mido.MidiTrack()
        carried = 0
        tick = 0
        for message in track:
            tick += message.time
            if tick > end_tick:
                break
            drop = False
            if message.type in ("note_on", "note_off") and message.channel == DRUM_CHANNEL:
                drop = variant == "nodrums" or (variant == "nokick" and message.note in KICKS)
            if drop:
                carried += message.time
                continue
            kept.append(message.copy(time=message.time + carried))
            carried = 0
        out.tracks.append(kept)
    # Every sound stops at the end: a note left on would keep fluidsynth rendering.
    last = out.tracks[0]
    at = sum(m.time for m in last if not m.is_meta or m.type != "end_of_track")
    last[:] = [m for m in last if m.type != "end_of_track"]
    for channel in range(16):
        last.append(mido.Message("control_change", channel=channel, control=120,
                                 time=max(0, end_tick - at) if channel == 0 else 0))
    return out


def read_wav(path):
    with wave.open(path, "rb") as w:
        frames = w.readframes(w.getnframes())
        channels = w.getnchannels()
        assert w.getsampwidth() == 2 and w.getframerate() == RATE, path
    return np.frombuffer(frames, dtype="<i2").reshape(-1, channels).astype(np.float64) / 32768


def write_wav(path, samples):
    samples = np.clip(samples, -1, 32767 / 32768)
    if samples.ndim == 1:
        samples = samples[:, None]
    with wave.open(path, "wb") as w:
        w.setnchannels(samples.shape[1])
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes((np.round(samples * 32768)).astype("<i2").tobytes())


def synthesize(mid, soundfont, seconds):
    """The first `seconds` of the file rendered by fluidsynth, stereo. Some files keep the
    renderer going long after their last note (a voice that never ends): it is stopped once it
    has written enough."""
    raw = mid + ".raw"
    needed = int(seconds * RATE) * 4
    renderer = subprocess.Popen(["fluidsynth", "-ni", "-q", "-g", "0.5", "-r", str(RATE),
                                 "-T", "raw", "-O", "s16", "-F", raw, soundfont, mid],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while renderer.poll() is None:
        if os.path.exists(raw) and os.path.getsize(raw) >= needed + 65536:
            renderer.terminate()
            renderer.wait()
            break
        time.sleep(0.05)
    with open(raw, "rb") as f:
        data = f.read(needed)
    data = data[:len(data) // 4 * 4]
    return np.frombuffer(data, dtype="<i2").reshape(-1, 2).astype(np.float64) / 32768


def pink_noise(count, seed):
    """Pink noise of unit RMS: white noise shaped by 1/sqrt(f) in the frequency domain."""
    rng = np.random.default_rng(seed)
    spectrum = np.fft.rfft(rng.standard_normal(count))
    f = np.arange(len(spectrum), dtype=np.float64)
    f[0] = 1
    noise = np.fft.irfft(spectrum / np.sqrt(f), count)
    return noise / np.sqrt(np.mean(noise ** 2))


def render(job):
    """Renders one excerpt (clean and room) and its beats; returns its manifest lines."""
    name, source, variant, start, length, soundfont, seed, folder, feel = job
    midi = mido.MidiFile(source)
    beats = [t - start for t in beat_times(midi) if start <= t < start + length]
    if len(beats) < 8:
        return []
    bpm = 60.0 / float(np.median(np.diff(beats)))
    if not SLOWEST <= bpm <= FASTEST:
        return []
    lines = []
    with tempfile.TemporaryDirectory() as work:
        mid = os.path.join(work, "in.mid")
        variant_of(midi, variant, tick_at(midi, start + length + 1.0)).save(mid)
        audio = synthesize(mid, soundfont, start + length)[int(start * RATE):]
        if len(audio) < length * RATE * 0.99 or np.sqrt(np.mean(audio ** 2)) < 1e-4:
            return []
        # As a player would give it: about -20 dB RMS, peaks kept below full scale.
        gain = min(0.1 / np.sqrt(np.mean(audio ** 2)), 0.95 / np.max(np.abs(audio)))
        clean = audio * gain
        for kind in ("clean", "room"):
            base = f"{name}-{variant}-{kind}"
            wav = os.path.join(folder, base + ".wav")
            if kind == "clean":
                write_wav(wav, clean)
            else:
                dry = os.path.join(work, "dry.wav")
                wet = os.path.join(work, "wet.wav")
                write_wav(dry, clean.mean(axis=1))
                subprocess.run(["sox", "-R", dry, wet, "highpass", "150", "lowpass", "7000",
                                "reverb", "50", "50", "80", "norm", "-6"], check=True)
                room = read_wav(wet)[:, 0][:len(clean)]
                music_rms = np.sqrt(np.mean(room ** 2))
                room = room + pink_noise(len(room), seed) * music_rms * 10 ** (-15 / 20)
                write_wav(wav, room * min(1.0, 0.9 / np.max(np.abs(room))))
            with open(os.path.join(folder, base + ".beats"), "w") as out:
                out.writelines(f"{t:.6f}\n" for t in beats)
            lines.append("\t".join([base, variant, kind, f"{bpm:.1f}", meter_of(midi), feel,
                                    os.path.basename(soundfont), base + ".wav", base + ".beats"]))
    return lines


def feel_of(song):
    with open(song) as f:
        for line in f:
            if line.startswith("// Feel:"):
                return line.split(":", 1)[1].strip()
    return "straight"


def seeded(song, performance, folder):
    """The mma song to render: itself, or a copy that first seeds mma's random timing."""
    if performance is None:
        return song
    copy = os.path.join(folder, os.path.basename(song))
    with open(song) as f, open(copy, "w") as out:
        out.write(f"RndSeed {performance}\n" + f.read())
    return copy


def midi_files(folder):
    """The MIDI files of a package's folder, sorted; none, said once, if it is not installed."""
    if not os.path.isdir(folder):
        print(f"{folder} : absent (scripts/setup.sh test installs it), left out", file=sys.stderr)
        return []
    return sorted(f for f in os.listdir(folder) if f.lower().endswith(".mid"))


def sources(which):
    """(name, MIDI file, excerpt start in seconds, feel) of a set; mma songs made in `midis`."""
    if which == "dev":
        for song in sorted(os.listdir(SONGS)):
            if song.endswith(".mma"):
                yield song[:-4], os.path.join(SONGS, song), 2.0, feel_of(os.path.join(SONGS, song))
        for blupi in midi_files(BLUPI):
            yield "blupi-" + blupi[5:-4], os.path.join(BLUPI, blupi), 10.0, "-"
    elif which == "games":
        for prefix, folder in (("simu-", SIMUTRANS), ("dink-", DINK)):
            for mid in midi_files(folder):
                yield prefix + mid[:-4].split("-")[0].lower(), os.path.join(folder, mid), 10.0, "-"
    else:
        for msx in midi_files(OPENMSX):
            yield "msx-" + msx[:-4].replace("_", "-"), os.path.join(OPENMSX, msx), 10.0, "-"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(ROOT, "build", "music-set"))
    parser.add_argument("--set", choices=["dev", "games", "heldout", "all"], default="all")
    parser.add_argument("--only", default="", help="comma-separated song names (rock-143, simu-01)")
    parser.add_argument("--variants", default=",".join(VARIANTS))
    parser.add_argument("--seconds", type=float, default=35.0)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--performance", type=int, default=None,
                        help="mma's random timing and loudness drawn from this seed, so that the "
                             "same performance is rendered each time (default: a new one)")
    args = parser.parse_args()
    only = set(filter(None, args.only.split(",")))
    variants = args.variants.split(",")
    sets = ["dev", "games", "heldout"] if args.set == "all" else [args.set]
    for which in sets:
        folder = os.path.join(args.out, which)
        os.makedirs(folder, exist_ok=True)
        midis = os.path.join(args.out, "midi")
        os.makedirs(midis, exist_ok=True)
        jobs = []
        for index, (name, source, start, feel) in enumerate(sources(which)):
            if only and name not in only:
                continue
            if source.endswith(".mma"):
                mid = os.path.join(midis, name + ".mid")
                subprocess.run(["mma", "-f", mid, seeded(source, args.performance, midis)],
                               check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                source = mid
            try:
                midi = mido.MidiFile(source)
            except Exception as error:  # noqa: BLE001 (mido raises its own kinds)
                print(f"{name}: left out, unreadable ({error})", file=sys.stderr)
                continue
            if grid_off(midi):
                print(f"{name}: left out, its beats lie half a beat off the music", file=sys.stderr)
                continue
            for variant in variants:
                if variant != "drums" and not has_drums(midi):
                    continue
                jobs.append((name, source, variant, start, args.seconds,
                             SOUNDFONTS[index % len(SOUNDFONTS)], index * 7 + len(jobs),
                             folder, feel))
        with concurrent.futures.ProcessPoolExecutor(max(1, args.jobs)) as pool:
            lines = [line for result in pool.map(render, jobs) for line in result]
        manifest = os.path.join(args.out, which + ".tsv")
        if only and os.path.exists(manifest):
            with open(manifest) as f:
                kept = [l.rstrip("\n") for l in f if not l.startswith("#")]
            names = {l.split("\t")[0] for l in lines}
            lines = [l for l in kept if l.split("\t")[0] not in names] + lines
        with open(manifest, "w") as out:
            out.write("#name\tgroup\tvariant\tbpm\tmeter\tfeel\tsoundfont\twav\tbeats\n")
            out.writelines(line + "\n" for line in sorted(lines))
        print(f"{which}: {len(lines)} excerpts in {folder}")
    return 0


if __name__ == "__main__":
    if shutil.which("fluidsynth") is None or shutil.which("sox") is None:
        sys.exit("music_set.py: fluidsynth and sox are needed (scripts/setup.sh test)")
    sys.exit(main())
