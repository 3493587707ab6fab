#!/usr/bin/python3
"""Synthesises the program's built-in sounds, resources/sounds/<number>-<name>.wav.

Every sound is made here from sine partials, FM pairs and shaped noise; no recording or
sample is used. The melodies are our own, except the lullaby, which is the first half of
the cradle song Op. 49 No. 4 (1868, public domain).

Format: PCM WAV, 22,050 Hz, 16-bit, mono, so every player (the Windows one included)
takes it. Mood sounds loop: they are rendered on a circle (a note or wave that runs past
the end continues at the start, noise is shaped in the frequency domain, which is
circular too), so the last sample leads into the first without a click. Every sound is
brought to the same RMS level and kept below -1 dBFS.

Needs python3-numpy. Deterministic (fixed seeds).

    tools/make_sounds.py [--out DIR]
"""

import argparse
import os
import wave

import numpy as np

SR = 22050
TARGET_RMS_DB = -18.0
CEILING_DB = -1.5


# ---- building blocks -------------------------------------------------------------------

def secs(n):
    return np.arange(n) / SR


def note_hz(name):
    """'A4' -> 440 Hz; sharps as '#', flats as 'b'."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semis = steps[name[0]]
    rest = name[1:]
    if rest[0] == "#":
        semis += 1
        rest = rest[1:]
    elif rest[0] == "b":
        semis -= 1
        rest = rest[1:]
    return 440.0 * 2 ** ((semis + 12 * (int(rest) - 4)) / 12)


def fade(sig, attack, release):
    """Raised-cosine edges, in seconds."""
    n = len(sig)
    a = min(n, max(1, int(attack * SR)))
    r = min(n, max(1, int(release * SR)))
    env = np.ones(n)
    env[:a] *= 0.5 - 0.5 * np.cos(np.pi * np.arange(a) / a)
    env[n - r:] *= 0.5 + 0.5 * np.cos(np.pi * np.arange(r) / r)
    return sig * env


def bell(f, length=1.6, decay=0.7, bright=1.0):
    """A soft music-box / chime tone: a few partials, the higher ones dying sooner."""
    t = secs(int(length * SR))
    partials = [(1.0, 1.0, 1.0), (2.0, 0.28 * bright, 0.55), (3.01, 0.09 * bright, 0.35),
                (4.2, 0.04 * bright, 0.22)]
    sig = np.zeros_like(t)
    for ratio, amp, dscale in partials:
        if f * ratio < SR / 2 - 500:
            sig += amp * np.sin(2 * np.pi * f * ratio * t) * np.exp(-t / (decay * dscale))
    return fade(sig, 0.004, 0.08)


def epiano(f, hold, decay=1.4):
    """A warm electric-piano-like tone: an FM pair whose brightness fades."""
    n = int((hold + 0.5) * SR)
    t = secs(n)
    index = 1.3 * np.exp(-t / 0.35)
    sig = np.sin(2 * np.pi * f * t + index * np.sin(2 * np.pi * f * t))
    sig *= np.exp(-t / decay)
    off = int(hold * SR)
    sig[off:] *= np.exp(-np.arange(n - off) / (0.12 * SR))
    return fade(sig, 0.006, 0.05)


def pipe(f, length, vibrato=0.0, breath=0.02, seed=0):
    """A wooden whistle: near-sine with a little second and third harmonic."""
    n = int(length * SR)
    t = secs(n)
    phase = 2 * np.pi * np.cumsum(f * (1 + vibrato * np.sin(2 * np.pi * 5.2 * t))) / SR
    sig = np.sin(phase) + 0.18 * np.sin(2 * phase) + 0.05 * np.sin(3 * phase)
    noise = np.random.default_rng(seed).standard_normal(n)
    noise = np.convolve(noise, np.ones(6) / 6, mode="same")
    sig += breath * noise
    return fade(sig, 0.025, min(0.08, length / 3))


def pad(f, length, attack=0.9, release=1.2, seed=0):
    """A soft string pad: detuned voices of a mellow sawtooth (few partials)."""
    n = int(length * SR)
    t = secs(n)
    rng = np.random.default_rng(seed)
    sig = np.zeros(n)
    for detune in (-0.0022, 0.0, 0.0019):
        ph = rng.uniform(0, 2 * np.pi)
        for k in range(1, 7):
            if f * k < 4000:
                sig += np.sin(2 * np.pi * f * (1 + detune) * k * t + ph * k) / k ** 1.6
    return fade(sig / 3, attack, release)


def chirp(f0, f1, length, shape="sine"):
    """A pitch glide with a bell-shaped loudness, as birds and whistles sing."""
    n = int(length * SR)
    x = np.linspace(0, 1, n)
    if shape == "sine":
        freq = f0 + (f1 - f0) * (0.5 - 0.5 * np.cos(np.pi * x))
    else:
        freq = f0 * (f1 / f0) ** x
    sig = np.sin(2 * np.pi * np.cumsum(freq) / SR)
    return sig * np.sin(np.pi * x) ** 2


def shaped_noise(n, gain_of_hz, seed):
    """Noise with the given spectrum, periodic over n samples (an FFT is circular)."""
    spectrum = np.fft.rfft(np.random.default_rng(seed).standard_normal(n))
    hz = np.fft.rfftfreq(n, 1 / SR)
    spectrum *= gain_of_hz(np.maximum(hz, 1.0))
    spectrum[0] = 0
    sig = np.fft.irfft(spectrum, n)
    return sig / np.sqrt(np.mean(sig ** 2))


def swell(n, peaks, rise, seconds_total):
    """A sum of smooth bumps t^2 exp(-t/rise) starting at each peak time, repeated every
    seconds_total so the envelope is periodic and smooth everywhere."""
    t = secs(n)
    env = np.zeros(n)
    for start, height in peaks:
        for image in (-2, -1, 0, 1):
            d = t - start - image * seconds_total
            d = np.maximum(d, 0) / rise
            env += height * d ** 2 * np.exp(2 - d) / 4  # 1 at its peak, 2 rises in
    return env / max(env.max(), 1e-9)


class Loop:
    """A circular buffer: whatever is added past the end continues at the start."""

    def __init__(self, seconds):
        self.n = int(round(seconds * SR))
        self.buf = np.zeros(self.n)

    def add(self, at_seconds, sig, gain=1.0):
        start = int(round(at_seconds * SR)) % self.n
        idx = (start + np.arange(len(sig))) % self.n
        np.add.at(self.buf, idx, gain * sig)


class Clip:
    """A one-shot buffer that grows as needed."""

    def __init__(self):
        self.buf = np.zeros(0)

    def add(self, at_seconds, sig, gain=1.0):
        start = int(round(at_seconds * SR))
        end = start + len(sig)
        if end > len(self.buf):
            self.buf = np.concatenate([self.buf, np.zeros(end - len(self.buf))])
        self.buf[start:end] += gain * sig


# ---- mood sounds (loops) ---------------------------------------------------------------

def lullaby():
    """124: the cradle song's first half on a music box, with soft bass notes."""
    # (note, beats); three beats a bar, a one-beat pickup that the closing bar completes.
    tune = [("E5", .5), ("E5", .5),
            ("G5", 2), ("E5", .5), ("E5", .5), ("G5", 2), ("E5", .5), ("G5", .5),
            ("C6", 1), ("B5", 1.5), ("A5", .5), ("A5", 1), ("G5", 1), ("D5", .5), ("E5", .5),
            ("F5", 1), ("D5", 1), ("D5", .5), ("E5", .5), ("F5", 2), ("D5", .5), ("F5", .5),
            ("B5", .5), ("A5", .5), ("G5", 1), ("B5", 1), ("C6", 2)]
    bass = ["C3", "C3", "F3", "G3", "G3", "G3", "G3", "C3"]
    beat = 60 / 104
    beats = sum(b for _, b in tune)
    loop = Loop(beats * beat)
    # The file starts inside the closing held note, so the seam falls where nothing begins.
    at = 1.0 * beat
    for name, b in tune:
        loop.add(at, bell(note_hz(name), length=max(1.2, b * beat + 0.9), decay=0.9))
        at += b * beat
    for bar, name in enumerate(bass):
        start = (2 + 3 * bar) * beat
        loop.add(start, bell(note_hz(name), length=2.4, decay=1.1, bright=0.5), 0.45)
        loop.add(start + beat, bell(note_hz(name) * 1.5, length=1.4, decay=0.6, bright=0.3), 0.18)
    return loop.buf


def sleep_reminder():
    """168: slow falling chimes over a warm drone that breathes once a loop."""
    seconds = 12.0
    loop = Loop(seconds)
    t = secs(loop.n)
    # Drone frequencies are whole cycles per loop so the drone meets itself at the seam.
    for hz, amp in ((130.81, 1.0), (196.0, 0.55), (261.63, 0.25)):
        f = round(hz * seconds) / seconds
        loop.buf += amp * np.sin(2 * np.pi * f * t)
    loop.buf *= 0.22 * (0.75 + 0.25 * np.cos(2 * np.pi * t / seconds))
    chimes = ["G5", "E5", "D5", "C5", "A4", "G4", "E4", "D4"]
    for i, name in enumerate(chimes):
        loop.add(0.2 + i * 1.5, bell(note_hz(name), length=3.0, decay=1.2, bright=0.6), 0.9 - i * 0.05)
    return loop.buf


def sea():
    """123: surf: low rumble and hissing foam, swelling in three uneven waves."""
    seconds = 12.0
    loop = Loop(seconds)
    n = loop.n
    rumble = shaped_noise(n, lambda f: 1 / np.sqrt(f) / (1 + (f / 350) ** 2), 11)
    foam = shaped_noise(n, lambda f: (f / 1500) ** 2 / (1 + (f / 1500) ** 4) / np.sqrt(f), 12)
    waves = [(0.0, 1.0), (4.3, 0.75), (7.6, 0.9)]
    body = swell(n, waves, 0.75, seconds)
    crest = swell(n, [(s + 0.6, h) for s, h in waves], 0.45, seconds)
    loop.buf = rumble * (0.35 + 0.65 * body) + 0.55 * foam * (0.12 + 0.88 * crest ** 1.5)
    return loop.buf


def birds():
    """106: a few songbirds (glides, trills, two-note calls) over a light breeze."""
    seconds = 12.0
    loop = Loop(seconds)
    rng = np.random.default_rng(106)
    # A breeze in the leaves under the songs, so the chirps do not stand alone.
    loop.buf += 0.16 * shaped_noise(loop.n, lambda f: 1 / np.sqrt(f) / (1 + (f / 900) ** 2), 21)

    def tweet(at, f0, f1, length, gain):
        loop.add(at, chirp(f0, f1, length), gain)

    def trill(at, base, count, gain):
        for k in range(count):
            tweet(at + k * 0.065, base * 1.25, base, 0.05, gain * (1 - 0.04 * k))

    def call(at, f, gain):  # a two-note whistle, high then lower
        tweet(at, f, f * 1.04, 0.16, gain)
        tweet(at + 0.22, f * 0.8, f * 0.78, 0.22, gain * 0.9)

    t = 0.3
    while t < seconds - 0.2:
        kind = rng.integers(0, 3)
        gain = rng.uniform(0.35, 0.7)
        if kind == 0:
            base = rng.uniform(2600, 3600)
            tweet(t, base, base * rng.uniform(1.2, 1.45), rng.uniform(0.08, 0.14), gain)
            tweet(t + 0.16, base * 1.1, base * 0.9, 0.1, gain * 0.8)
        elif kind == 1:
            trill(t, rng.uniform(3000, 4200), int(rng.integers(5, 9)), gain * 0.8)
        else:
            call(t, rng.uniform(2200, 2900), gain)
        t += rng.uniform(0.6, 1.5)
    return loop.buf


def sad():
    """107: a slow A minor pad (Am, F, C, E) and a lonely flute line."""
    seconds = 14.0
    loop = Loop(seconds)
    chords = [["A3", "C4", "E4", "A2"], ["F3", "A3", "C4", "F2"], ["C3", "E3", "G3", "C3"],
              ["E3", "G#3", "B3", "E2"]]
    span = seconds / len(chords)
    for i, chord in enumerate(chords):
        for j, name in enumerate(chord):
            loop.add(i * span - 0.4, pad(note_hz(name), span + 1.6, 1.0, 1.4, seed=10 * i + j),
                     0.5 if j < 3 else 0.35)
    melody = [(0.6, "E5", 1.6), (2.4, "D5", 0.7), (3.2, "C5", 1.9), (6.0, "A4", 2.2),
              (9.1, "G4", 0.8), (10.0, "B4", 0.8), (10.9, "E5", 2.2)]
    for at, name, length in melody:
        loop.add(at, pipe(note_hz(name), length + 0.3, vibrato=0.004, breath=0.01, seed=int(at * 10)), 0.45)
    return loop.buf


def melody():
    """191: a tender waltz of our own in F major on a soft electric piano."""
    beat = 0.5
    bars = [[("A4", 2), ("G4", .5), ("F4", .5)], [("C5", 2), ("A4", 1)],
            [("Bb4", 1.5), ("A4", .5), ("G4", 1)], [("F4", 3)],
            [("A4", 2), ("C5", 1)], [("D5", 2), ("C5", .5), ("Bb4", .5)],
            [("A4", 1), ("G4", 1), ("E4", 1)], [("F4", 3)]]
    chords = [["F3", "A3", "C4"], ["F3", "A3", "C4"], ["G3", "Bb3", "D4"], ["F3", "A3", "C4"],
              ["F3", "A3", "C4"], ["Bb2", "D3", "F3"], ["C3", "E3", "Bb3"], ["F3", "A3", "C4"]]
    loop = Loop(len(bars) * 3 * beat)
    for b, (bar, chord) in enumerate(zip(bars, chords)):
        at = b * 3 * beat
        for name, beats in bar:
            loop.add(at, epiano(note_hz(name), beats * beat * 0.95, decay=1.6), 0.8)
            at += beats * beat
        root = note_hz(chord[0]) / 2
        loop.add(b * 3 * beat, epiano(root, 1.4, decay=1.5), 0.45)
        for k in (1, 2):  # the waltz's two off-beats
            for name in chord:
                loop.add(b * 3 * beat + k * beat, epiano(note_hz(name), 0.35, decay=0.8), 0.16)
    return loop.buf


# ---- effects (one-shot) ----------------------------------------------------------------

def cuckoo():
    """110: the clock's cuckoo, two calls of a falling minor third on a wooden whistle."""
    clip = Clip()
    for k in range(2):
        at = 0.05 + k * 0.85
        clip.add(at, pipe(note_hz("A5"), 0.2, seed=k))
        clip.add(at + 0.26, pipe(note_hz("F#5"), 0.38, seed=k + 5))
    return clip.buf


def gentle_cuckoo():
    """143: the morning cuckoo: a soft chime, then a slower, lower, breathier call."""
    clip = Clip()
    for i, name in enumerate(["C5", "E5", "G5"]):
        clip.add(0.05 + i * 0.22, bell(note_hz(name), 1.8, 0.8, 0.5), 0.6)
    for k in range(2):
        at = 0.9 + k * 1.1
        clip.add(at, pipe(note_hz("E5"), 0.28, vibrato=0.003, breath=0.03, seed=k), 0.8)
        clip.add(at + 0.36, pipe(note_hz("C5"), 0.5, vibrato=0.003, breath=0.03, seed=k + 3), 0.8)
    return clip.buf


def brass(f, length):
    """A mellow horn: harmonics rising in with the attack, as brass brightens."""
    n = int(length * SR)
    t = secs(n)
    sig = np.zeros(n)
    for k in range(1, 8):
        if f * k < 5000:
            grow = 1 - np.exp(-t / (0.02 + 0.012 * k))
            sig += grow * np.sin(2 * np.pi * f * k * t) / k ** 1.3
    return fade(sig, 0.03, min(0.12, length / 3))


def fanfare():
    """130: a small fanfare: three quick notes, a held one, and a closing chord."""
    clip = Clip()
    for i, (name, length) in enumerate([("G4", .12), ("G4", .12), ("G4", .12)]):
        clip.add(0.05 + i * 0.14, brass(note_hz(name), length), 0.7)
    clip.add(0.47, brass(note_hz("C5"), 0.45), 0.75)
    for name in ("C5", "E5", "G5"):
        clip.add(1.0, brass(note_hz(name), 0.9), 0.4)
    return clip.buf


def airplane():
    """140: a small propeller plane passing: a buzzing engine whose pitch drops."""
    length = 2.6
    n = int(length * SR)
    t = secs(n)
    x = t / length
    # The pitch falls as the plane passes overhead (Doppler), the loudness peaks there.
    f = 95 * (1.08 - 0.16 / (1 + np.exp(-(x - 0.5) * 10)))
    phase = 2 * np.pi * np.cumsum(f) / SR
    engine = sum(np.sin(k * phase) / k for k in range(1, 12) if 95 * k < 3000)
    engine *= 1 + 0.3 * np.sin(phase * 0.5)
    hiss = shaped_noise(n, lambda h: 1 / (1 + (h / 900) ** 2), 140)
    loud = np.exp(-((x - 0.5) / 0.23) ** 2)
    return fade((engine * 0.6 + hiss * 0.25) * loud, 0.05, 0.2)


def jokes_on():
    """187: a slide whistle up and down, then a springy boing."""
    clip = Clip()
    clip.add(0.0, chirp(600, 1500, 0.35, "exp"), 0.8)
    clip.add(0.33, chirp(1500, 700, 0.3, "exp"), 0.8)
    n = int(0.7 * SR)
    t = secs(n)
    f = 220 * (1 + 0.35 * np.exp(-t / 0.2) * np.sin(2 * np.pi * 11 * t))
    boing = np.sin(2 * np.pi * np.cumsum(f) / SR) * np.exp(-t / 0.22)
    clip.add(0.7, fade(boing, 0.004, 0.05), 0.9)
    return clip.buf


def oops():
    """152: "oh-oh": two short falling notes with a droop at the end."""
    clip = Clip()
    clip.add(0.0, pipe(note_hz("D5"), 0.18, breath=0.0), 0.8)
    n = int(0.38 * SR)
    t = secs(n)
    f = note_hz("A4") * (1 - 0.12 * (t / t[-1]) ** 2)
    ph = 2 * np.pi * np.cumsum(f) / SR
    clip.add(0.24, fade(np.sin(ph) + 0.18 * np.sin(2 * ph), 0.02, 0.1), 0.8)
    return clip.buf


def runaway():
    """188: a quick rising zip as the button darts away, and two patters."""
    clip = Clip()
    clip.add(0.0, chirp(500, 2200, 0.25, "exp"), 0.8)
    for k in range(2):
        clip.add(0.3 + k * 0.1, bell(note_hz("E6"), 0.15, 0.05, 0.3), 0.5)
    return clip.buf


def congratulations():
    """183: a bright rising arpeggio and a ringing major chord."""
    clip = Clip()
    for i, name in enumerate(["C5", "E5", "G5", "C6"]):
        clip.add(0.05 + i * 0.12, bell(note_hz(name), 1.0, 0.5), 0.7)
    for name in ("C5", "E5", "G5", "C6"):
        clip.add(0.6, bell(note_hz(name), 1.9, 0.9, 0.7), 0.45)
    return clip.buf


# ---- levels and output -----------------------------------------------------------------

def level(sig, trim_db=0.0):
    """Brings a sound to the common RMS (less trim_db, for sounds whose energy sits where
    the ear is most sensitive); peaks above the ceiling are rounded off softly."""
    ceiling = 10 ** (CEILING_DB / 20)
    target = 10 ** ((TARGET_RMS_DB - trim_db) / 20)
    x = sig - np.mean(sig)  # no offset: a loop stays continuous, a start gives no thump
    for _ in range(6):
        x = x * target / np.sqrt(np.mean(x ** 2))
        knee = 0.7 * ceiling
        over = np.abs(x) > knee
        if not over.any():
            break
        room = ceiling * 0.995 - knee
        x[over] = np.sign(x[over]) * (knee + room * np.tanh((np.abs(x[over]) - knee) / room))
    return x


SOUNDS = [
    (124, "lullaby", lullaby, True, 0.0),
    (168, "sleep-reminder", sleep_reminder, True, 0.0),
    (123, "sea", sea, True, 0.0),
    (106, "birds", birds, True, 1.5),
    (107, "sad", sad, True, 0.0),
    (191, "sleeping-melody", melody, True, 0.0),
    (110, "cuckoo", cuckoo, False, 0.0),
    (143, "morning-cuckoo", gentle_cuckoo, False, 0.0),
    (130, "fanfare", fanfare, False, 0.0),
    (140, "airplane", airplane, False, 0.0),
    (187, "jokes-on", jokes_on, False, 0.0),
    (152, "oops", oops, False, 0.0),
    (188, "runaway", runaway, False, 0.0),
    (183, "congratulations", congratulations, False, 0.0),
]


def write_wav(path, samples):
    data = np.round(samples * 32767).astype("<i2").tobytes()
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "resources", "sounds"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    total = 0
    for number, name, make, looped, trim_db in SOUNDS:
        sig = make()
        if not looped:
            sig = fade(np.concatenate([sig, np.zeros(int(0.05 * SR))]), 0.002, 0.03)
        sig = level(sig, trim_db)
        path = os.path.join(args.out, "%d-%s.wav" % (number, name))
        write_wav(path, sig)
        size = os.path.getsize(path)
        total += size
        rms = 20 * np.log10(np.sqrt(np.mean(sig ** 2)))
        peak = 20 * np.log10(np.max(np.abs(sig)))
        print("%-32s %5.1f s  rms %6.1f dB  peak %5.1f dB  %7d bytes"
              % (os.path.basename(path), len(sig) / SR, rms, peak, size))
    print("total %d bytes" % total)


if __name__ == "__main__":
    main()
