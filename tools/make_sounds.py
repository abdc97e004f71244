#!/usr/bin/python3
"""Makes every sound effect and music track of the game, and the music list
"Sound/levels.bgm", by synthesis in code (numpy), deterministically.

    /usr/bin/python3 tools/make_sounds.py            # write data/Sound/**
    /usr/bin/python3 tools/make_sounds.py --check    # measure the files there
    /usr/bin/python3 tools/make_sounds.py --out DIR  # write somewhere else

Needs: python3-numpy and sox with its vorbis format (Debian: `apt-get install
python3-numpy sox libsox-fmt-all`). sox only converts our WAV renders to Ogg
Vorbis ("sox -R": repeatable mode, which fixes the Ogg stream serial number;
without it every run gives a different file) at a fixed quality, and measures.

What is made (every sound the game loads by name: menus, logos, creatures, brush, level):
- the nine start-up effects: menu cursor move / ok / cancel, the "no ink" sound,
  the looping dig and build noises (seamless loops, they repeat while a mouse
  button is held), a creature entering the exit door, the trapped creature's
  countdown tick (0.99 s: the game restarts it whenever channel 12 is free
  while a countdown shows, so one tick per shown digit), and a creature's death;
- the studio logo's jingle "Sound/intro_2.ogg" (3.4 s; the logo cuts it at ~3.5 s);
- for every music key (MAIN, GAME, WIN, GAMEOVER, LOOP0..LOOP3) an intro that
  plays once and three layers that loop together: "Sound/music/<key>_intro.ogg"
  and "<key>_layer1..3.ogg", listed in "Sound/levels.bgm".

Music rules kept here: the three layers of a key share key, tempo and length to
the sample (a whole number of bars at a tempo that makes it a whole number of
samples). A loop is rendered into a circular buffer: notes that would sound
past its end are faded out just before it (so a layer starts from near silence
when the intro hands over), while echo, reverb and the master filters act by
circular convolution, so their tails wrap from the loop's end into its start
and the loop joins without a gap or a step. The game plays layer 1 alone in
MAIN and GAME (startMusic(128, 0) and (0, 0)) and layers 1+2 in the levels, WIN
and GAMEOVER (startMusic(128, 128)); layer 3 starts at volume 0 (and GAME's
intro plays at volume 0, so it is one short bar). So layer 1 is always a
complete piece on its own, layer 2 adds the tune (or, where layer 1 has the
tune, a counter-line and pad) and layer 3 adds sparkle; any combination fits.
Levels are set per key from the combination the game plays, and the sum of all
three never clips.

Effects: mono 16-bit PCM at the rate their name suggests (22050 Hz for "22"
names, 44100 Hz otherwise), peaks at or below -3 dBFS, matched in loudness (a
K-weighted RMS over the sounding part), faded in and out over a few ms; the two
brush noises are seamless loops that also start near silence.

Every random number comes from a generator seeded with a fixed number, so a
re-run gives byte-identical files on the same machine (numpy, sox and libvorbis
versions fixed); compare sha256 sums of data/Sound before and after a re-run.
--check prints each file's rate, channels, length, peak and RMS (sox stat),
checks that a key's layers decode to the same length, and measures every loop's
join (last vs first decoded sample, and the second difference across it)
against the file's own 99th-percentile sample step; it fails on a peak above
-0.9 dBFS or a join step larger than that.
"""

import argparse
import math
import os
import subprocess
import sys
import tempfile
import wave
import zlib

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
SR = 44100
TWO_PI = 2.0 * math.pi

MUSIC_OGG_QUALITY = 3
EFFECT_OGG_QUALITY = 4
EFFECT_PEAK_DB = -3.0       # effects never peak above this
EFFECT_LOUDNESS = -12.0     # K-weighted RMS of the sounding part, dB
MUSIC_PEAK_DB = -3.0        # peak of what the game plays of a key
MUSIC_LOUDNESS = -17.0      # RMS of what the game plays of a key, dB
MUSIC_ALL_PEAK_DB = -1.0    # the sum of all three layers stays below this


def seed_of(text):
    """A stable seed from a name (Python's hash() is salted per run)."""
    return zlib.crc32(text.encode("utf-8"))


def db(x):
    return 20.0 * math.log10(max(float(x), 1e-12))


def undb(d):
    return 10.0 ** (d / 20.0)


# --------------------------------------------------------------------------
# Filters (FFT-domain, zero phase). circular=True treats the signal as one
# period of a loop; otherwise the signal is zero-padded and the tail dropped.
# --------------------------------------------------------------------------

def _fft_len(n):
    m = 1
    while m < n:
        m *= 2
    return m


def fft_gain(x, gain_fn, sr=SR, circular=False, pad=4096):
    x = np.asarray(x, dtype=np.float64)
    n = x.shape[-1]
    nfft = n if circular else _fft_len(n + pad)
    spectrum = np.fft.rfft(x, nfft, axis=-1)
    freqs = np.fft.rfftfreq(nfft, 1.0 / sr)
    spectrum *= gain_fn(freqs)
    return np.fft.irfft(spectrum, nfft, axis=-1)[..., :n]


def bw_low(fc, order=2):
    return lambda f: 1.0 / np.sqrt(1.0 + (f / fc) ** (2 * order))


def bw_high(fc, order=2):
    def g(f):
        with np.errstate(divide="ignore"):
            r = np.where(f > 0, fc / np.maximum(f, 1e-9), 1e9)
        return 1.0 / np.sqrt(1.0 + r ** (2 * order))
    return g


def bw_band(lo, hi, order=2):
    gl, gh = bw_high(lo, order), bw_low(hi, order)
    return lambda f: gl(f) * gh(f)


def lowpass(x, fc, order=2, sr=SR, circular=False):
    return fft_gain(x, bw_low(fc, order), sr, circular)


def highpass(x, fc, order=2, sr=SR, circular=False):
    return fft_gain(x, bw_high(fc, order), sr, circular)


def bandpass(x, lo, hi, order=2, sr=SR, circular=False):
    return fft_gain(x, bw_band(lo, hi, order), sr, circular)


def convolve(x, h, circular):
    """x: (..., n); h: (m,) or (channels, m). Circular needs m <= n."""
    n = x.shape[-1]
    if circular:
        assert h.shape[-1] <= n
        return np.fft.irfft(np.fft.rfft(x, n) * np.fft.rfft(h, n), n)[..., :n]
    nfft = _fft_len(n + h.shape[-1])
    return np.fft.irfft(np.fft.rfft(x, nfft) * np.fft.rfft(h, nfft), nfft)[..., :n]


# --------------------------------------------------------------------------
# Envelopes and oscillators
# --------------------------------------------------------------------------

def envelope(n, sr, attack, hold, release, tau=None, sustain=1.0):
    """Raised-cosine attack, optional exponential decay towards `sustain`,
    note-off after `hold` seconds, then a squared linear release to exactly 0."""
    t = np.arange(n) / sr
    e = np.ones(n)
    if attack > 0:
        a = np.clip(t / attack, 0.0, 1.0)
        e *= 0.5 - 0.5 * np.cos(math.pi * a)
    if tau is not None:
        e *= sustain + (1.0 - sustain) * np.exp(-t / tau)
    r = np.clip(1.0 - (t - hold) / max(release, 1e-4), 0.0, 1.0) ** 2
    e *= np.where(t > hold, r, 1.0)
    return e


def phase_of(freq, n, sr, vib_rate=0.0, vib_depth=0.0, vib_delay=0.0, glide=None):
    """Running phase (radians) of a tone, with optional delayed vibrato and a
    glide (start ratio, time constant)."""
    t = np.arange(n) / sr
    f = np.full(n, float(freq))
    if glide is not None:
        ratio, tc = glide
        f *= 1.0 + (ratio - 1.0) * np.exp(-t / tc)
    if vib_depth > 0:
        ramp = np.clip((t - vib_delay) / 0.25, 0.0, 1.0)
        f *= 1.0 + vib_depth * ramp * np.sin(TWO_PI * vib_rate * t)
    ph = np.cumsum(f) * (TWO_PI / sr)
    return ph - ph[0]


def additive(ph, f0, amps, sr, decays=None, t=None, start_phases=None):
    """Sum of harmonics k*ph (k = 1..), skipping those above 0.45*sr."""
    out = np.zeros_like(ph)
    for k, a in enumerate(amps, start=1):
        if a == 0 or k * f0 >= 0.45 * sr:
            continue
        p = k * ph
        if start_phases is not None:
            p = p + start_phases[k - 1]
        comp = a * np.sin(p)
        if decays is not None and decays[k - 1] is not None:
            comp *= np.exp(-t / decays[k - 1])
        out += comp
    return out


def midi_hz(m):
    return 440.0 * 2.0 ** ((m - 69) / 12.0)


# --------------------------------------------------------------------------
# Instruments: fn(freq, dur_seconds, vel, rng) -> mono array at SR
# --------------------------------------------------------------------------

def inst_epiano(f, dur, vel, rng):
    rel = 0.18
    tau = 1.1 * (262.0 / f) ** 0.35
    n = int((dur + rel) * SR)
    t = np.arange(n) / SR
    ph = phase_of(f, n, SR)
    idx = (0.9 + 0.9 * vel) * np.exp(-t / 0.22) + 0.12
    y = np.sin(ph + idx * np.sin(ph))
    if 2 * f < 0.45 * SR:
        y += 0.18 * np.sin(2 * ph) * np.exp(-t / 0.5)
    return y * envelope(n, SR, 0.003, dur, rel, tau=tau, sustain=0.0)


def inst_pluck(f, dur, vel, rng):
    rel = 0.12
    tau0 = 1.3 * (220.0 / f) ** 0.45
    n = int((dur + rel) * SR)
    t = np.arange(n) / SR
    ph = phase_of(f, n, SR)
    k = np.arange(1, 14)
    amps = (1.0 / k ** 1.4) * (0.6 + 0.4 * vel) ** (k - 1)
    decays = [tau0 / (1.0 + 0.7 * (i - 1)) for i in k]
    y = additive(ph, f, amps, SR, decays, t)
    return y * envelope(n, SR, 0.002, dur, rel)


def inst_marimba(f, dur, vel, rng):
    n = int(min(dur + 0.6, 1.4) * SR)
    t = np.arange(n) / SR
    s = (440.0 / f) ** 0.5
    y = np.zeros(n)
    for ratio, amp, tau in ((1.0, 1.0, 0.45 * s), (3.93, 0.22 * vel, 0.10 * s),
                            (9.2, 0.05 * vel, 0.03 * s)):
        if ratio * f < 0.45 * SR:
            y += amp * np.sin(TWO_PI * ratio * f * t) * np.exp(-t / tau)
    return y * envelope(n, SR, 0.002, n / SR - 0.03, 0.03)


def inst_bell(f, dur, vel, rng):
    n = int(1.6 * SR)
    t = np.arange(n) / SR
    y = np.zeros(n)
    for ratio, amp, tau in ((1.0, 1.0, 0.9), (2.0, 0.25, 0.5), (2.76, 0.30, 0.35),
                            (5.40, 0.12, 0.15), (8.93, 0.05, 0.07)):
        if ratio * f < 0.45 * SR:
            y += amp * np.sin(TWO_PI * ratio * f * t) * np.exp(-t / tau)
    return y * envelope(n, SR, 0.0015, 1.5, 0.1)


def inst_flute(f, dur, vel, rng):
    """Soft ocarina/flute lead with delayed vibrato and a little breath."""
    rel = 0.09
    n = int((dur + rel) * SR)
    ph = phase_of(f, n, SR, vib_rate=5.2, vib_depth=0.0045, vib_delay=0.18)
    y = additive(ph, f, [1.0, 0.22, 0.07, 0.03], SR)
    breath = bandpass(rng.standard_normal(n), f * 1.5, f * 4.0) * 0.02
    y = y + breath * np.exp(-np.arange(n) / SR / 0.08)
    return y * envelope(n, SR, 0.03, dur, rel, tau=0.5, sustain=0.8)


def inst_chip(f, dur, vel, rng):
    """Rounded pulse-wave lead (25% duty), band-limited and softened."""
    rel = 0.05
    n = int((dur + rel) * SR)
    ph = phase_of(f, n, SR, vib_rate=6.0, vib_depth=0.004, vib_delay=0.2)
    k = np.arange(1, 30)
    amps = np.sin(math.pi * k * 0.25) / k / (1.0 + (k * f / 3500.0) ** 2)
    y = additive(ph, f, amps, SR)
    return y * envelope(n, SR, 0.006, dur, rel, tau=0.3, sustain=0.75)


def inst_brass(f, dur, vel, rng):
    """Soft synth brass: a saw whose brightness swells at the attack."""
    rel = 0.15
    n = int((dur + rel) * SR)
    t = np.arange(n) / SR
    ph = phase_of(f, n, SR, vib_rate=5.0, vib_depth=0.003, vib_delay=0.3,
                  glide=(0.985, 0.03))
    bright = 2.0 + 5.0 * (1.0 - np.exp(-t / 0.05)) * (0.55 + 0.45 * np.exp(-t / 0.25))
    y = np.zeros(n)
    for k in range(1, 24):
        if k * f >= 0.45 * SR:
            break
        y += (1.0 / k) * np.exp(-(k - 1) / bright) * np.sin(k * ph)
    return y * envelope(n, SR, 0.02, dur, rel, tau=0.6, sustain=0.8)


def inst_pad(f, dur, vel, rng):
    rel = 0.45
    n = int((dur + rel) * SR)
    y = np.zeros(n)
    for cents in (-7.0, 0.0, 7.0):
        fv = f * 2 ** (cents / 1200.0)
        ph = phase_of(fv, n, SR)
        k = np.arange(1, 25)
        amps = (1.0 / k) / (1.0 + (k * fv / 1400.0) ** 2)
        y += additive(ph, fv, amps, SR, start_phases=rng.uniform(0, TWO_PI, len(k)))
    return y / 3.0 * envelope(n, SR, 0.25, dur, rel)


def inst_bass(f, dur, vel, rng):
    rel = 0.04
    n = int((dur + rel) * SR)
    t = np.arange(n) / SR
    ph = phase_of(f, n, SR)
    y = np.sin(ph) + 0.28 * np.sin(2 * ph) * np.exp(-t / 0.3) + 0.1 * np.sin(3 * ph) * np.exp(-t / 0.12)
    y = np.tanh(1.4 * y) / np.tanh(1.4)
    return y * envelope(n, SR, 0.004, dur, rel, tau=0.5, sustain=0.55)


def inst_chipbass(f, dur, vel, rng):
    rel = 0.03
    n = int((dur + rel) * SR)
    ph = phase_of(f, n, SR)
    k = np.arange(1, 16)
    amps = np.where(k % 2 == 1, 1.0 / k ** 2, 0.0) * np.where((k // 2) % 2 == 0, 1.0, -1.0)
    y = additive(ph, f, amps, SR) + 0.25 * np.sin(ph)
    return y * envelope(n, SR, 0.003, dur, rel, tau=0.25, sustain=0.7)


INSTRUMENTS = {
    "epiano": inst_epiano, "pluck": inst_pluck, "marimba": inst_marimba, "bell": inst_bell,
    "flute": inst_flute, "chip": inst_chip, "brass": inst_brass, "pad": inst_pad,
    "bass": inst_bass, "chipbass": inst_chipbass,
}


# Drums: fn(vel, rng) -> mono array at SR

def dr_kick(vel, rng):
    n = int(0.42 * SR)
    t = np.arange(n) / SR
    f = 47.0 + 115.0 * np.exp(-t / 0.028)
    ph = np.cumsum(f) * TWO_PI / SR
    y = np.sin(ph - ph[0]) * np.exp(-t / 0.17)
    y += 0.12 * lowpass(rng.standard_normal(n), 2500) * np.exp(-t / 0.004)
    return y * envelope(n, SR, 0.001, 0.38, 0.04)


def dr_snare(vel, rng):
    n = int(0.32 * SR)
    t = np.arange(n) / SR
    tone = (0.55 * np.sin(TWO_PI * 188 * t) * np.exp(-t / 0.055)
            + 0.25 * np.sin(TWO_PI * 330 * t) * np.exp(-t / 0.03))
    nz = bandpass(rng.standard_normal(n), 1400, 7500) * np.exp(-t / 0.1) * 0.9
    return (tone + nz) * envelope(n, SR, 0.0012, 0.28, 0.04)


def dr_brush(vel, rng):
    n = int(0.35 * SR)
    t = np.arange(n) / SR
    nz = bandpass(rng.standard_normal(n), 1800, 9000) * np.exp(-t / 0.13)
    return nz * envelope(n, SR, 0.012, 0.31, 0.04) * 0.8


def dr_hat(vel, rng):
    n = int(0.12 * SR)
    t = np.arange(n) / SR
    nz = bandpass(rng.standard_normal(n), 7000, 15000) * np.exp(-t / 0.022)
    return nz * envelope(n, SR, 0.0008, 0.1, 0.02)


def dr_ohat(vel, rng):
    n = int(0.5 * SR)
    t = np.arange(n) / SR
    nz = bandpass(rng.standard_normal(n), 6000, 14000) * np.exp(-t / 0.15)
    return nz * envelope(n, SR, 0.001, 0.44, 0.06)


def dr_shaker(vel, rng):
    n = int(0.12 * SR)
    t = np.arange(n) / SR
    nz = bandpass(rng.standard_normal(n), 4500, 11000) * np.exp(-t / 0.035)
    return nz * envelope(n, SR, 0.012, 0.1, 0.02)


def _tom(f0, vel, rng):
    n = int(0.45 * SR)
    t = np.arange(n) / SR
    f = f0 * (1.0 + 0.35 * np.exp(-t / 0.04))
    ph = np.cumsum(f) * TWO_PI / SR
    y = np.sin(ph - ph[0]) * np.exp(-t / 0.2)
    y += 0.15 * bandpass(rng.standard_normal(n), 300, 3000) * np.exp(-t / 0.02)
    return y * envelope(n, SR, 0.001, 0.4, 0.05)


def dr_tomh(vel, rng):
    return _tom(200.0, vel, rng)


def dr_toml(vel, rng):
    return _tom(130.0, vel, rng)


def dr_crash(vel, rng):
    n = int(2.2 * SR)
    t = np.arange(n) / SR
    nz = bandpass(rng.standard_normal(n), 3000, 13000) * np.exp(-t / 0.6)
    return nz * envelope(n, SR, 0.001, 2.0, 0.2) * 0.8


def dr_swell(vel, rng):
    """A soft reversed-cymbal swell lasting one beat at 120 bpm (0.5 s)."""
    n = int(0.5 * SR)
    t = np.arange(n) / SR
    nz = bandpass(rng.standard_normal(n), 3000, 12000)
    e = (t / t[-1]) ** 2.5
    return nz * e * envelope(n, SR, 0.0, 0.49, 0.01)


DRUMS = {
    "k": dr_kick, "s": dr_snare, "b": dr_brush, "h": dr_hat, "o": dr_ohat,
    "x": dr_shaker, "t": dr_tomh, "l": dr_toml, "c": dr_crash, "w": dr_swell,
}
DRUM_LEVEL = {"k": 1.0, "s": 0.55, "b": 0.35, "h": 0.16, "o": 0.14, "x": 0.16,
              "t": 0.55, "l": 0.6, "c": 0.22, "w": 0.18}
DRUM_PAN = {"k": 0.0, "s": 0.05, "b": 0.05, "h": 0.3, "o": 0.3, "x": -0.3,
            "t": -0.25, "l": 0.2, "c": -0.2, "w": 0.0}


# --------------------------------------------------------------------------
# Notation
# --------------------------------------------------------------------------

PC = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note_midi(name):
    """"C4" = 60, "F#5", "Bb3"."""
    pc = PC[name[0]]
    i = 1
    while i < len(name) and name[i] in "#b":
        pc += 1 if name[i] == "#" else -1
        i += 1
    return pc + 12 * (int(name[i:]) + 1)


CHORD_TYPES = {
    "": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "maj7": (0, 4, 7, 11),
    "m7": (0, 3, 7, 10), "sus4": (0, 5, 7), "sus2": (0, 2, 7), "7sus4": (0, 5, 7, 10),
    "add9": (0, 4, 7, 14), "dim": (0, 3, 6), "6": (0, 4, 7, 9), "m6": (0, 3, 7, 9),
    "maj9": (0, 4, 7, 11, 14),
}


def parse_chord(sym):
    """"Bbmaj7", "C/E" -> (root pc, intervals, bass pc)."""
    bass = None
    if "/" in sym:
        sym, b = sym.split("/")
        bass = PC[b[0]] + sum(1 if c == "#" else -1 for c in b[1:])
    root = PC[sym[0]]
    i = 1
    while i < len(sym) and sym[i] in "#b":
        root += 1 if sym[i] == "#" else -1
        i += 1
    ivs = CHORD_TYPES[sym[i:]]
    root %= 12
    return root, ivs, (root if bass is None else bass % 12)


def parse_notes(text, beats_per_bar):
    """"A4:1.5 C5:.5 | ..." -> [(beat, dur, midi or None)]; checks bar sums."""
    events, beat = [], 0.0
    for bar_no, bar in enumerate(text.split("|")):
        bar_start = beat
        for tok in bar.split():
            name, d = tok.split(":")
            d = float(d)
            events.append((beat, d, None if name == "-" else note_midi(name)))
            beat += d
        if abs(beat - bar_start - beats_per_bar) > 1e-9:
            raise ValueError("bar %d of %r has %.3f beats" % (bar_no + 1, text[:30], beat - bar_start))
    return events


def voice_chord(root, ivs, prev, lo, hi):
    """Close voicing of the chord with every note in [lo, hi], nearest to `prev`."""
    pcs = sorted({(root + i) % 12 for i in ivs})
    best, best_score = None, None
    for base in range(lo, hi + 1):
        if base % 12 not in pcs:
            continue
        notes = [base]
        for pc in pcs:
            if pc == base % 12:
                continue
            notes.append(base + (pc - base) % 12)
        notes.sort()
        if notes[-1] > hi:
            continue
        if prev:
            score = sum(min(abs(n - p) for p in prev) for n in notes)
        else:
            score = abs(sum(notes) / len(notes) - (lo + hi) / 2.0)
        if best_score is None or score < best_score:
            best, best_score = notes, score
    return best


# --------------------------------------------------------------------------
# Songs: parts rendered into per-layer stereo buffers
# --------------------------------------------------------------------------

class Song:
    def __init__(self, name, bpm, bpb, bars, chords, circular=True, swing=0.0):
        self.name, self.bpm, self.bpb, self.bars = name, bpm, bpb, bars
        self.circular, self.swing = circular, swing
        self.beat_s = 60.0 / bpm
        exact = bars * bpb * SR * 60.0 / bpm
        self.length = int(round(exact))
        assert abs(exact - self.length) < 1e-6, "%s: loop is not a whole number of samples" % name
        # chords: one string per bar, "F" or "Gm7 C7" (split evenly)
        assert len(chords) == bars, name
        self.chords = []          # (start beat, dur, root, ivs, bass)
        for b, bar in enumerate(chords):
            syms = bar.split()
            d = bpb / len(syms)
            for i, s in enumerate(syms):
                self.chords.append((b * bpb + i * d, d) + parse_chord(s))
        self.layers = {}          # layer -> dict(dry, rev, echo)
        self.rng = np.random.default_rng(seed_of(name))

    def total_beats(self):
        return self.bars * self.bpb

    def chord_at(self, beat):
        beat %= self.total_beats()
        for c in self.chords:
            if c[0] <= beat + 1e-9 < c[0] + c[1]:
                return c
        return self.chords[-1]

    def sample_at(self, beat, swing=None):
        sw = self.swing if swing is None else swing
        if sw:
            frac = beat % 1.0
            if abs(frac - 0.5) < 1e-9:
                beat += sw / 6.0
            elif abs(frac - 0.25) < 1e-9 or abs(frac - 0.75) < 1e-9:
                beat += sw / 12.0
        return int(round(beat * self.beat_s * SR))

    def _layer(self, layer):
        if layer not in self.layers:
            n = self.length
            self.layers[layer] = {"dry": np.zeros((2, n)), "rev": np.zeros(n), "echo": np.zeros(n)}
        return self.layers[layer]

    def add(self, layer, sig, start, pan=0.0, gain=1.0, rev=0.0, echo=0.0):
        buf = self._layer(layer)
        n = self.length
        sig = sig * gain
        left = math.cos((pan + 1.0) * math.pi / 4.0)
        right = math.sin((pan + 1.0) * math.pi / 4.0)
        pos, i = start % n if self.circular else start, 0
        if self.circular and pos + len(sig) > n:
            # Nothing dry sounds across the loop's end: the layers then start
            # (after the intro) from near silence, and the loop still joins
            # without a step, since only the circular reverb and echo wrap.
            keep = n - pos
            fade = min(keep, int(0.06 * SR))
            sig = sig[:keep].copy()
            sig[keep - fade:] *= np.cos(np.linspace(0.0, math.pi / 2, fade)) ** 2
        if not self.circular:
            if pos < 0:
                sig, pos = sig[-pos:], 0
            if pos >= n:
                return
            sig = sig[: n - pos]
        while i < len(sig):
            m = min(len(sig) - i, n - pos)
            chunk = sig[i:i + m]
            buf["dry"][0, pos:pos + m] += chunk * left
            buf["dry"][1, pos:pos + m] += chunk * right
            if rev:
                buf["rev"][pos:pos + m] += chunk * rev
            if echo:
                buf["echo"][pos:pos + m] += chunk * echo
            i += m
            pos = 0

    # ---- parts ----

    def note(self, layer, inst, beat, dur, midi, vel=0.8, pan=0.0, gain=1.0, rev=0.2,
             echo=0.0, legato=0.92, swing=None):
        f = midi_hz(midi)
        sig = INSTRUMENTS[inst](f, dur * self.beat_s * legato, vel, self.rng)
        self.add(layer, sig * (0.55 + 0.45 * vel), self.sample_at(beat, swing), pan, gain, rev, echo)

    def melody(self, layer, inst, text, harmony=False, octave=0, gain=0.3, pan=0.0, rev=0.25,
               echo=0.0, legato=0.92, offset=0.0, swing=None):
        """A tune; with harmony=True, a second voice a third to a sixth below it
        that takes the tones of the chord sounding under each note."""
        for beat, dur, m in parse_notes(text, self.bpb):
            if m is None:
                continue
            if harmony:
                m = self.chord_tone_below(m, beat)
            accent = 1.0 if abs(beat % self.bpb) < 1e-9 else 0.85
            vel = accent * (0.92 + 0.08 * self.rng.random())
            self.note(layer, inst, beat + offset, dur, m + 12 * octave, vel, pan, gain, rev, echo,
                      legato, swing)

    def chord_tone_below(self, m, beat):
        _, _, root, ivs, _ = self.chord_at(beat)
        pcs = {(root + i) % 12 for i in ivs}
        for d in (3, 4, 5, 8, 9, 7):     # thirds, a fourth, sixths, a fifth
            if (m - d) % 12 in pcs:
                return m - d
        return m - 12

    def comp(self, layer, inst, pattern, lo=55, hi=70, gain=0.2, pan=0.0, rev=0.3, vel=0.7,
             bars=None, strum=0.0):
        """pattern: [(beat in bar, dur)] hit every bar with the chord sounding then."""
        prev = None
        for b in range(self.bars) if bars is None else bars:
            for off, dur in pattern:
                beat = b * self.bpb + off
                root, ivs, _ = self.chord_at(beat)[2:]
                notes = voice_chord(root, ivs, prev, lo, hi)
                prev = notes
                for i, m in enumerate(notes):
                    v = vel * (0.9 + 0.1 * self.rng.random())
                    self.note(layer, inst, beat + strum * i, dur, m, v, pan + 0.15 * (i - 1), gain, rev,
                              legato=0.95)

    def pad(self, layer, inst="pad", lo=53, hi=67, gain=0.1, pan=0.0, rev=0.4):
        prev = None
        for c in self.chords:
            notes = voice_chord(c[2], c[3], prev, lo, hi)
            prev = notes
            for i, m in enumerate(notes):
                self.note(layer, inst, c[0], c[1], m, 0.7, pan + 0.3 * (i % 2 * 2 - 1), gain, rev,
                          legato=1.0)

    def bass(self, layer, inst, pattern, lo=36, gain=0.5, rev=0.05, bars=None):
        """pattern: [(beat in bar, dur, 'R'|'5'|'8'|'3'|'A')] ('A': approach the next root)."""
        for b in range(self.bars) if bars is None else bars:
            for off, dur, what in pattern:
                beat = b * self.bpb + off
                _, _, root, ivs, bass = self.chord_at(beat)
                m = lo + (bass - lo) % 12
                if what == "5":
                    m = lo + (root + 7 - lo) % 12
                elif what == "8":
                    m += 12
                elif what == "3":
                    m = lo + (root + ivs[1] - lo) % 12
                elif what == "A":
                    nxt = self.chord_at(beat + dur)[4]
                    m = lo + (nxt - lo) % 12
                    m += -1 if m - 1 >= lo else 1
                vel = 0.85 + 0.1 * self.rng.random() if off % 1 else 0.95
                self.note(layer, inst, beat, dur, m, vel, 0.0, gain, rev, legato=0.9)

    def arp(self, layer, inst, step, lo=67, span=2, order="up", gain=0.12, pan=0.0, rev=0.35,
            echo=0.0, vel=0.7, bars=None, beats=None):
        """Chord tones from `lo` over `span` octaves, one every `step` beats."""
        total = self.total_beats()
        beat = 0.0
        idx = 0
        while beat < total - 1e-9:
            b = int(beat // self.bpb)
            if (bars is None or b in bars) and (beats is None or beats(beat)):
                c = self.chord_at(beat)
                pcs = sorted({(c[2] + i) % 12 for i in c[3]})
                tones = sorted(lo + (pc - lo) % 12 + 12 * o for o in range(span) for pc in pcs)
                if order == "updown":
                    seq = tones + tones[-2:0:-1]
                else:
                    seq = tones
                m = seq[idx % len(seq)]
                self.note(layer, inst, beat, step, m, vel, pan, gain, rev, echo, legato=0.9)
            idx += 1
            beat += step

    def drums(self, layer, lanes, gain=0.5, fills=None, rev=0.08, bars=None):
        """lanes: {drum letter: pattern string}, one char per sixteenth (bpb*4 chars);
        uppercase = accent, lowercase = soft, "." = none. fills: {bar: lanes}."""
        cache = {}
        for b in range(self.bars) if bars is None else bars:
            use = lanes if not fills or b not in fills else fills[b]
            for d, pat in use.items():
                assert len(pat) == self.bpb * 4, (self.name, d, pat)
                for i, ch in enumerate(pat):
                    if ch == ".":
                        continue
                    key = (d, i % 3)
                    if key not in cache:
                        cache[key] = DRUMS[d](1.0, np.random.default_rng(seed_of(self.name + d) + i % 3))
                    vel = 1.0 if ch.isupper() else 0.6
                    vel *= 0.93 + 0.07 * self.rng.random()
                    self.add(layer, cache[key], self.sample_at(b * self.bpb + i / 4.0),
                             DRUM_PAN[d], gain * DRUM_LEVEL[d] * vel, rev)

    def hit(self, layer, d, beat, gain=0.5, rev=0.1):
        sig = DRUMS[d](1.0, np.random.default_rng(seed_of(self.name + d + str(beat))))
        start = self.sample_at(beat, 0.0)
        if d == "w":          # a swell ends on the beat
            start -= len(sig)
        self.add(layer, sig, start, DRUM_PAN[d], gain * DRUM_LEVEL[d], rev)

    # ---- render ----

    def render(self, reverb_t60=1.4, echo_beats=0.75, echo_fb=0.35):
        ir = reverb_ir(reverb_t60, seed_of(self.name + "ir"))
        d = int(round(echo_beats * self.beat_s * SR))
        taps = 6
        eir = np.zeros((2, d * taps + 1))
        for k in range(1, taps + 1):      # ping-pong
            eir[(k + 1) % 2, d * k] = echo_fb ** (k - 1)
        out = {}
        for layer, buf in sorted(self.layers.items()):
            x = buf["dry"].copy()
            if buf["rev"].any():
                x += convolve(buf["rev"][None, :], ir, self.circular)
            if buf["echo"].any():
                e = lowpass(buf["echo"], 3500, circular=self.circular)
                x += 0.5 * convolve(e[None, :], eir, self.circular)
            x = fft_gain(x, master_eq, SR, self.circular)
            out[layer] = x
        return out


def master_eq(f):
    """Causal responses (no pre-ringing before a note, unlike the zero-phase
    filters): a 2nd-order Butterworth high-pass at 30 Hz and a gentle 1st-order
    low-pass at 13 kHz. Multiplied into a loop's spectrum they give exactly the
    steady state of these filters running over the repeating loop."""
    s = 1j * f / 30.0
    hp = s * s / (s * s + math.sqrt(2.0) * s + 1.0)
    lp = 1.0 / (1.0 + 1j * f / 13000.0)
    return hp * lp


def reverb_ir(t60, seed):
    """A warm small-hall impulse response, stereo, unit energy per channel."""
    rng = np.random.default_rng(seed)
    n = int(t60 * 1.1 * SR)
    t = np.arange(n) / SR
    pre = int(0.018 * SR)
    ir = np.zeros((2, n))
    for ch in range(2):
        nz = rng.standard_normal(n) * np.exp(-6.91 * t / t60)
        nz = fft_gain(nz, lambda f: bw_band(180.0, 5500.0, 1)(f))
        nz *= envelope(n, SR, 0.01, n / SR - 0.05, 0.05)
        nz[:pre] = 0.0
        for tt, a in ((0.011, 0.5), (0.019, 0.35), (0.027, 0.3), (0.041, 0.22)):
            nz[int((tt + 0.003 * ch) * SR)] += a
        ir[ch] = nz / np.sqrt(np.sum(nz ** 2))
    return ir * 0.5


# --------------------------------------------------------------------------
# The music
# --------------------------------------------------------------------------


def song_main():
    """Menus: F major, 120 bpm, 8 bars (16 s). Layer 1 is heard alone, so it
    carries the tune; layer 2 a counter-line and pad; layer 3 bells."""
    chords = ["F", "Am7", "Bbmaj7", "C", "F", "Dm7", "Gm7", "C7"]
    tune = ("A4:1.5 C5:.5 F5:1 E5:.5 D5:.5 | C5:2 -:1 A4:.5 C5:.5 | D5:1.5 C5:.5 Bb4:1 D5:1 | "
            "C5:3 -:1 | A4:1.5 C5:.5 F5:1 G5:.5 A5:.5 | A5:1 G5:.5 F5:.5 D5:2 | "
            "G4:1 Bb4:.5 D5:.5 F5:1.5 E5:.5 | E5:1 D5:.5 C5:.5 Bb4:1 G4:1")
    counter = ("F4:2 E4:2 | E4:2 G4:2 | F4:2 D4:2 | E4:2 G4:2 | F4:2 A4:2 | A4:2 F4:2 | "
               "D4:2 F4:2 | G4:2 E4:2")
    s = Song("main", 120, 4, 8, chords)
    s.drums(1, {"k": "k.....k...k.....", "b": "....b.......b...", "x": "..x...x...x...x."}, gain=0.5)
    s.bass(1, "bass", [(0, 1.5, "R"), (1.5, 0.5, "5"), (2, 1.5, "8"), (3.5, 0.5, "5")], lo=36, gain=0.21)
    s.comp(1, "epiano", [(0, 1.5), (1.5, 1), (3, 1)], lo=57, hi=72, gain=0.112, vel=0.5)
    s.melody(1, "flute", tune, gain=0.26, rev=0.3, echo=0.15)
    s.pad(2, gain=0.08, lo=53, hi=67)
    s.melody(2, "pluck", counter, gain=0.22, pan=-0.35, rev=0.3, legato=1.0)
    s.arp(3, "bell", 1.0, lo=77, span=1, gain=0.1, pan=0.4, echo=0.4,
          beats=lambda b: b % 4 in (1.0, 3.0))
    s.melody(3, "bell", tune, harmony=True, octave=1, gain=0.07, pan=0.45, rev=0.4)
    return s


def intro_main():
    s = Song("main_intro", 120, 4, 2, ["Bbmaj7", "Gm7 C7"], circular=False)
    s.arp(1, "pluck", 0.25, lo=58, span=3, gain=0.11, rev=0.35, bars=[0], vel=0.6)
    s.pad(1, gain=0.05, lo=53, hi=67)
    s.melody(1, "flute", "-:1 F5:1 G5:1 A5:1 | G5:1.5 E5:.5 C5:1 -:1", gain=0.26, rev=0.35, echo=0.15)
    s.note(1, "bell", 4.0, 1, note_midi("C6"), 0.7, 0.3, 0.07, 0.4)
    s.bass(1, "bass", [(0, 2, "R"), (2, 2, "R")], lo=36, gain=0.175)
    s.hit(1, "w", 8.0, 0.6)
    s.drums(1, {"t": "............t.t.", "l": "..............l."}, gain=0.35, bars=[1])
    return s


def song_game():
    """Paddle scene: A minor, 140 bpm, 8 bars; chiptune. Layer 1 is heard alone."""
    chords = ["Am", "F", "C", "G", "Am", "F", "G", "E7"]
    tune = ("A4:.5 C5:.5 E5:.5 A5:.5 G5:1 E5:1 | F5:.5 E5:.5 C5:1 A4:1 C5:1 | "
            "E5:.5 G5:.5 C6:1 B5:.5 G5:.5 E5:1 | D5:1.5 B4:.5 G4:2 | "
            "A4:.5 C5:.5 E5:.5 A5:.5 B5:1 C6:1 | A5:1 F5:.5 A5:.5 C6:1 A5:1 | "
            "B5:.5 A5:.5 G5:.5 F5:.5 D5:1 G5:1 | E5:1.5 D5:.5 B4:1 G#4:1")
    s = Song("game", 140, 4, 8, chords)
    s.drums(1, {"k": "k.......k.k.....", "s": "....s.......s...", "h": "h.h.h.h.h.h.h.hh"}, gain=0.5,
            fills={7: {"k": "k.......k.k.....", "s": "....s.......s.ss", "h": "h.h.h.h.h.h....."}})
    s.bass(1, "chipbass", [(i * 0.5, 0.5, "R" if i % 2 == 0 else "8") for i in range(8)], lo=33, gain=0.16)
    s.melody(1, "chip", tune, gain=0.2, rev=0.2, echo=0.2, legato=0.85)
    s.arp(2, "chip", 0.25, lo=60, span=2, gain=0.07, pan=-0.4, rev=0.25, vel=0.5)
    s.pad(2, gain=0.05, lo=52, hi=66)
    s.melody(3, "chip", tune, harmony=True, gain=0.12, pan=0.4, rev=0.25, legato=0.85)
    return s


def intro_game():
    s = Song("game_intro", 140, 4, 1, ["E7"], circular=False)
    s.drums(1, {"k": "k.......k.......", "s": "........s.s.ssss"}, gain=0.5)
    s.comp(1, "chip", [(0, 0.5), (2, 0.5)], lo=56, hi=71, gain=0.062)
    return s


def song_loop0():
    """Level: C major, 120 bpm, 8 bars; a bouncy walk."""
    chords = ["C", "G/B", "Am", "Em", "F", "C/E", "Dm7", "G7"]
    tune = ("E5:.5 D5:.5 E5:.5 G5:.5 C5:1 E5:1 | D5:1.5 B4:.5 G4:1 B4:1 | "
            "C5:.5 B4:.5 C5:.5 E5:.5 A5:1 G5:1 | G5:1.5 E5:.5 B4:2 | "
            "A4:.5 C5:.5 F5:.5 A5:.5 G5:1 F5:1 | E5:1.5 G5:.5 C5:2 | "
            "D5:.5 E5:.5 F5:.5 A5:.5 C6:1 A5:1 | B5:1 G5:.5 F5:.5 D5:1 -:1")
    s = Song("loop0", 120, 4, 8, chords)
    s.drums(1, {"k": "k.......k.......", "s": "....s.......s...", "x": "x.x.x.x.x.x.x.x."}, gain=0.55)
    s.bass(1, "bass", [(0, 1, "R"), (1, 0.5, "5"), (1.5, 0.5, "8"), (2, 1, "5"), (3, 0.5, "R"),
                       (3.5, 0.5, "A")], lo=36, gain=0.21)
    s.comp(1, "pluck", [(0.5, 0.4), (1.5, 0.4), (2.5, 0.4), (3.5, 0.4)], lo=55, hi=69, gain=0.1)
    s.melody(2, "flute", tune, gain=0.26, rev=0.3, echo=0.12)
    s.melody(3, "bell", tune, harmony=True, gain=0.08, pan=0.4, rev=0.35)
    s.arp(3, "marimba", 0.5, lo=72, span=1, order="updown", gain=0.08, pan=-0.4)
    return s


def intro_loop0():
    s = Song("loop0_intro", 120, 4, 2, ["Gsus4", "G7"], circular=False)
    s.drums(1, {"x": "x.x.x.x.x.x.x.x."}, gain=0.45, bars=[0])
    s.drums(1, {"s": "s.s.s.s.ssssSSSS", "k": "k.......k......."}, gain=0.4, bars=[1])
    s.arp(1, "marimba", 0.5, lo=67, span=2, gain=0.07, rev=0.3)
    s.bass(1, "bass", [(0, 1, "R"), (1, 1, "R"), (2, 1, "5"), (3, 1, "R")], lo=36, gain=0.19)
    s.melody(1, "flute", "-:2 G4:1 C5:1 | D5:1 F5:1 G5:2", gain=0.24, rev=0.3)
    return s


def song_loop1():
    """Level: A dorian, 126 bpm, 8 bars; adventurous."""
    chords = ["Am", "D", "F", "G", "Am", "D", "F", "E"]
    tune = ("E5:1 A5:.5 G5:.5 E5:1 D5:.5 E5:.5 | F#5:1.5 E5:.5 D5:1 A4:1 | "
            "C5:.5 D5:.5 F5:1 A5:1 G5:.5 F5:.5 | G5:2 D5:1 B4:1 | "
            "E5:1 A5:.5 B5:.5 C6:1 B5:.5 A5:.5 | F#5:1 A5:1 D5:1.5 E5:.5 | "
            "F5:.5 E5:.5 D5:.5 C5:.5 D5:1 E5:1 | B4:1.5 G#4:.5 E4:1 -:1")
    s = Song("loop1", 126, 4, 8, chords)
    s.drums(1, {"k": "k..k..k...k.....", "s": "....s.......s..s", "h": "h.hhh.hhh.hhh.hh"}, gain=0.45)
    s.bass(1, "bass", [(0, 0.75, "R"), (0.75, 0.75, "R"), (1.5, 1, "5"), (2.5, 0.5, "8"), (3, 1, "5")],
           lo=33, gain=0.21)
    s.comp(1, "marimba", [(0, 0.5), (0.75, 0.5), (2.5, 0.5), (3.5, 0.5)], lo=57, hi=72, gain=0.1)
    s.melody(2, "flute", tune, gain=0.25, rev=0.3, echo=0.15)
    s.pad(2, gain=0.03, lo=52, hi=64)
    s.melody(3, "bell", tune, harmony=True, octave=1, gain=0.07, pan=-0.4, rev=0.4)
    s.arp(3, "pluck", 0.25, lo=69, span=1, gain=0.06, pan=0.45, vel=0.5)
    return s


def intro_loop1():
    s = Song("loop1_intro", 126, 4, 2, ["Am", "E7"], circular=False)
    s.drums(1, {"l": "l..l..l...l.....", "t": "..........t...t."}, gain=0.45, bars=[0])
    s.drums(1, {"l": "l..l..l...l.....", "t": "..........t.tttt", "k": "k..k..k........."}, gain=0.45,
            bars=[1])
    s.bass(1, "bass", [(0, 0.75, "R"), (0.75, 0.75, "R"), (1.5, 1, "5"), (2.5, 1.5, "8")], lo=33, gain=0.21)
    s.pad(1, gain=0.05, lo=52, hi=66)
    s.melody(1, "flute", "-:3 E5:1 | D5:.5 C5:.5 B4:1 G#4:2", gain=0.22, rev=0.35)
    return s


def song_loop2():
    """Level: G major, 140 bpm shuffle, 8 bars; lively."""
    chords = ["G", "Em", "C", "D", "G", "E7", "Am", "D7"]
    tune = ("B4:.5 D5:.5 G5:1 F#5:.5 G5:.5 A5:1 | G5:1 E5:1 B4:1 -:1 | "
            "C5:.5 E5:.5 G5:.5 C6:.5 B5:1 G5:1 | A5:1.5 F#5:.5 D5:1 -:1 | "
            "B4:.5 D5:.5 G5:1 A5:.5 B5:.5 D6:1 | D6:1 B5:.5 G#5:.5 E5:1 D5:1 | "
            "C5:.5 E5:.5 A5:1 G5:.5 E5:.5 C5:1 | D5:1 F#5:1 A5:.5 C6:.5 -:1")
    s = Song("loop2", 140, 4, 8, chords, swing=1.0)
    s.drums(1, {"k": "k.......k.......", "s": "....s.......s...", "h": "h.h.h.h.h.h.h.h."}, gain=0.45,
            fills={7: {"k": "k.......k.......", "s": "....s.....s.s.s.", "h": "h.h.h.h.h......."}})
    s.bass(1, "bass", [(0, 1, "R"), (1, 1, "5"), (2, 1, "8"), (3, 1, "A")], lo=38, gain=0.21)
    s.comp(1, "epiano", [(1, 0.5), (3, 0.5), (3.5, 0.4)], lo=57, hi=71, gain=0.106)
    s.melody(2, "pluck", tune, gain=0.24, rev=0.25, echo=0.1)
    s.melody(2, "flute", tune, octave=-1, gain=0.1, rev=0.25)
    s.melody(3, "bell", tune, harmony=True, gain=0.08, pan=0.4, rev=0.35)
    s.arp(3, "marimba", 1.0, lo=74, span=1, gain=0.08, pan=-0.4)
    return s


def intro_loop2():
    s = Song("loop2_intro", 140, 4, 2, ["C", "D7"], circular=False, swing=1.0)
    s.drums(1, {"h": "h.h.h.h.h.h.h.h.", "k": "k.......k......."}, gain=0.45, bars=[0])
    s.drums(1, {"s": "s.s.s.s.s.ssSsSS", "k": "k.......k......."}, gain=0.4, bars=[1])
    s.bass(1, "bass", [(0, 1, "R"), (1, 1, "3"), (2, 1, "5"), (3, 1, "8")], lo=36, gain=0.2)
    s.melody(1, "pluck", "G4:.5 A4:.5 B4:.5 C5:.5 D5:.5 E5:.5 F#5:.5 G5:.5 | A5:1 F#5:1 D5:1 -:1", gain=0.2,
             rev=0.3)
    return s


def song_loop3():
    """Level: F major waltz, 144 bpm in 3/4, 8 bars (10 s); a music-box carousel."""
    chords = ["F", "C", "Dm", "Bb", "F", "Gm", "C", "C7"]
    tune = ("A4:1 C5:1 F5:1 | E5:2 D5:.5 C5:.5 | D5:1 F5:1 A5:1 | G5:2 F5:1 | "
            "F5:1 A5:1 C6:1 | Bb5:1.5 A5:.5 G5:1 | E5:1 G5:1 Bb5:.5 A5:.5 | G5:1.5 E5:.5 C5:1")
    s = Song("loop3", 144, 3, 8, chords)
    s.drums(1, {"k": "k...........", "x": "....x...x...", "h": "......h...h."}, gain=0.55)
    s.bass(1, "bass", [(0, 1.5, "R")], lo=36, gain=0.21)
    s.comp(1, "pluck", [(1, 0.8), (2, 0.8)], lo=57, hi=70, gain=0.1)
    s.melody(2, "bell", tune, gain=0.11, rev=0.3, echo=0.12)
    s.melody(2, "flute", tune, gain=0.2, rev=0.3)
    s.pad(3, gain=0.05, lo=53, hi=67)
    s.melody(3, "marimba", tune, harmony=True, octave=-1, gain=0.1, pan=-0.4, rev=0.3)
    return s


def intro_loop3():
    s = Song("loop3_intro", 144, 3, 2, ["C7", "C7"], circular=False)
    s.arp(1, "bell", 0.5, lo=72, span=2, gain=0.08, rev=0.35)
    s.bass(1, "bass", [(0, 1, "R"), (1, 1, "5"), (2, 1, "8")], lo=36, gain=0.11)
    s.comp(1, "pluck", [(1, 0.8), (2, 0.8)], lo=57, hi=70, gain=0.1)
    return s


def song_win():
    """Win: C major, 120 bpm, 8 bars; a happy celebration after the fanfare."""
    chords = ["C", "Am", "F", "G", "C", "Am", "Dm7", "G7"]
    tune = ("G5:1 E5:.5 G5:.5 C6:2 | A5:1 C6:.5 A5:.5 E5:2 | F5:.5 G5:.5 A5:.5 F5:.5 C6:1 A5:1 | "
            "G5:1.5 D5:.5 B4:2 | E5:.5 G5:.5 C6:1 D6:1 E6:1 | C6:1 A5:1 E5:1 C6:1 | "
            "D6:1 C6:.5 A5:.5 F5:1 A5:1 | G5:1.5 F5:.5 D5:1 B4:1")
    s = Song("win", 120, 4, 8, chords)
    s.drums(1, {"k": "k.....k.k.......", "s": "....s.......s...", "x": "xxx.xxx.xxx.xxx."}, gain=0.45)
    s.bass(1, "bass", [(0, 1.5, "R"), (1.5, 1, "5"), (2.5, 0.5, "8"), (3, 1, "5")], lo=36, gain=0.21)
    s.comp(1, "epiano", [(0, 1), (1.5, 1), (3, 1)], lo=57, hi=72, gain=0.106, vel=0.55)
    s.melody(2, "brass", tune, gain=0.18, rev=0.3)
    s.melody(2, "pluck", tune, gain=0.12, rev=0.3, echo=0.1)
    s.melody(3, "bell", tune, harmony=True, gain=0.08, pan=-0.4, rev=0.4)
    s.arp(3, "marimba", 0.5, lo=72, span=1, order="updown", gain=0.08, pan=0.4)
    return s


def intro_win():
    """A fanfare of about 3.5 s (2 bars at 120 bpm)."""
    s = Song("win_intro", 120, 4, 2, ["C", "C"], circular=False)
    fan = "G4:.3333333333 G4:.3333333333 G4:.3333333334 C5:1 E5:.5 G5:.5 E5:.5 G5:.5 | C6:4"
    s.melody(1, "brass", fan, gain=0.14, rev=0.35, legato=0.85)
    s.melody(1, "brass", fan, harmony=True, gain=0.09, pan=-0.3, rev=0.35, legato=0.85)
    s.comp(1, "brass", [(0, 3)], lo=55, hi=67, gain=0.062, bars=[1])
    s.drums(1, {"s": "sss.............", "k": "....k.......k..."}, gain=0.45, bars=[0])
    s.drums(1, {"k": "K...............", "c": "C..............."}, gain=0.5, bars=[1])
    s.arp(1, "bell", 0.25, lo=72, span=2, gain=0.05, rev=0.4, bars=[1], beats=lambda b: b < 6)
    s.bass(1, "bass", [(0, 3, "R")], lo=36, gain=0.2, bars=[1])
    return s


def song_gameover():
    """Game over: A minor, 90 bpm, 4 bars (10.7 s); gentle and a little sad."""
    chords = ["Am", "F", "Dm", "E7"]
    tune = "E5:1.5 D5:.5 C5:1 B4:1 | C5:1.5 A4:.5 F4:1 A4:1 | D5:1 F5:1 A5:1.5 G5:.5 | E5:1.5 D5:.5 B4:2"
    s = Song("gameover", 90, 4, 4, chords)
    s.drums(1, {"k": "k...............", "b": "........b.......", "x": "..x...x...x...x."}, gain=0.6)
    s.bass(1, "bass", [(0, 2, "R"), (2, 1.5, "5"), (3.5, 0.5, "R")], lo=33, gain=0.2)
    s.comp(1, "epiano", [(0, 2), (2, 2)], lo=55, hi=69, gain=0.112, vel=0.45)
    s.melody(2, "flute", tune, gain=0.24, rev=0.35, echo=0.15)
    s.pad(2, gain=0.03, lo=52, hi=64)
    s.arp(3, "bell", 0.5, lo=69, span=2, gain=0.07, pan=0.4, rev=0.45, vel=0.5)
    return s


def intro_gameover():
    """A soft falling 'oh no' (2 bars at 90 bpm, 5.3 s, the gesture ends by 3.5 s)."""
    s = Song("gameover_intro", 90, 4, 2, ["A", "E7"], circular=False)
    # parallel thirds sliding down by semitones, landing softly on A major
    s.melody(1, "flute", "E5:.75 Eb5:.75 D5:.75 Db5:1.75 | -:4", gain=0.26, rev=0.4, legato=0.95)
    s.melody(1, "flute", "C5:.75 B4:.75 Bb4:.75 A4:1.75 | -:4", gain=0.15, pan=-0.3, rev=0.4, legato=0.95)
    s.bass(1, "bass", [(2.25, 1.75, "R")], lo=33, gain=0.175, bars=[0])
    s.comp(1, "epiano", [(0, 2)], lo=55, hi=69, gain=0.08, vel=0.4, bars=[1])
    s.arp(1, "bell", 0.5, lo=64, span=2, gain=0.035, rev=0.45, bars=[1], beats=lambda b: b >= 6)
    return s


MUSIC = [
    # key, loop maker, intro maker, layer sets the game plays (for the level)
    ("MAIN", song_main, intro_main, (1,)),
    ("GAME", song_game, intro_game, (1,)),
    ("WIN", song_win, intro_win, (1, 2)),
    ("GAMEOVER", song_gameover, intro_gameover, (1, 2)),
    ("LOOP0", song_loop0, intro_loop0, (1, 2)),
    ("LOOP1", song_loop1, intro_loop1, (1, 2)),
    ("LOOP2", song_loop2, intro_loop2, (1, 2)),
    ("LOOP3", song_loop3, intro_loop3, (1, 2)),
]


def rms(x):
    return float(np.sqrt(np.mean(np.square(x)))) if x.size else 0.0


def peak(x):
    return float(np.max(np.abs(x))) if x.size else 0.0


def make_music(out_dir, log):
    files = {}
    bgm = []
    for key, loop_fn, intro_fn, heard in MUSIC:
        song = loop_fn()
        layers = song.render()
        assert sorted(layers) == [1, 2, 3], key
        played = sum(layers[k] for k in heard)
        full = layers[1] + layers[2] + layers[3]
        g = min(undb(MUSIC_LOUDNESS) / rms(played), undb(MUSIC_PEAK_DB) / peak(played),
                undb(MUSIC_ALL_PEAK_DB) / peak(full))
        intro = intro_fn()
        ib = intro.render()[1]
        fade = int(0.06 * SR)
        ib[:, -fade:] *= np.linspace(1.0, 0.0, fade) ** 2
        gi = min(undb(MUSIC_LOUDNESS) / rms(ib), undb(MUSIC_PEAK_DB) / peak(ib))
        base = key.lower()
        names = ["Sound/music/%s_intro.ogg" % base] + ["Sound/music/%s_layer%d.ogg" % (base, k)
                                                       for k in (1, 2, 3)]
        files[names[0]] = ("ogg", ib * gi, SR, MUSIC_OGG_QUALITY)
        for k in (1, 2, 3):
            files[names[k]] = ("ogg", layers[k] * g, SR, MUSIC_OGG_QUALITY)
        log("%-8s loop %6.2f s  played rms %6.1f dB peak %5.1f dB  all-layers peak %5.1f dB  intro %.2f s"
            % (key, song.length / SR, db(rms(played) * g), db(peak(played) * g), db(peak(full) * g),
               intro.length / SR))
        bgm.append(key)
        bgm.extend(names)
    text = "".join(line + "\n" for line in bgm)
    return files, text


# --------------------------------------------------------------------------
# Effects
# --------------------------------------------------------------------------

def tone(f, n, sr, amps=(1.0,), glide=None, vib=0.0):
    ph = phase_of(f, n, sr, vib_rate=6.0, vib_depth=vib, glide=glide)
    return additive(ph, f, amps, sr)


def fx_cursormove(sr):
    """A soft round blip (75 ms)."""
    n = int(0.075 * sr)
    t = np.arange(n) / sr
    y = tone(1318.5, n, sr, (1.0, 0.12), glide=(1.25, 0.006)) * np.exp(-t / 0.022)
    return y * envelope(n, sr, 0.002, n / sr - 0.012, 0.012)


def fx_cursorok(sr):
    """Two rising chime notes (E6, B6): confirm (0.26 s)."""
    n = int(0.26 * sr)
    t = np.arange(n) / sr
    y = np.zeros(n)
    for start, f in ((0.0, 1318.5), (0.065, 1975.5)):
        i = int(start * sr)
        tt = t[: n - i]
        y[i:] += (np.sin(TWO_PI * f * tt) + 0.2 * np.sin(TWO_PI * 2 * f * tt) * np.exp(-tt / 0.03)) \
            * np.exp(-tt / 0.07) * envelope(n - i, sr, 0.002, 1, 0.01)
    return y * envelope(n, sr, 0.001, n / sr - 0.02, 0.02)


def fx_cursorcancel(sr):
    """Two falling soft notes (B5, E5): back (0.24 s)."""
    n = int(0.24 * sr)
    t = np.arange(n) / sr
    y = np.zeros(n)
    for start, f in ((0.0, 987.8), (0.07, 659.3)):
        i = int(start * sr)
        tt = t[: n - i]
        y[i:] += (tone(f, n - i, sr, (1.0, 0.0, 0.15)) * np.exp(-tt / 0.06)
                  * envelope(n - i, sr, 0.003, 1, 0.01))
    return y * envelope(n, sr, 0.001, n / sr - 0.02, 0.02)


def fx_noaction(sr):
    """A dull, muffled 'bup' (0.12 s) and a pause: it repeats while a button is
    held with an empty reserve, so it forms a gentle 4-per-second pulse."""
    n = int(0.25 * sr)
    m = int(0.12 * sr)
    t = np.arange(m) / sr
    k = np.arange(1, 12)
    amps = np.where(k % 2 == 1, 1.0 / k, 0.0)
    y = tone(196.0, m, sr, amps, glide=(1.3, 0.02))
    y = lowpass(y, 900, sr=sr) * np.exp(-t / 0.045) * envelope(m, sr, 0.003, m / sr - 0.015, 0.015)
    out = np.zeros(n)
    out[:m] = y
    return out


def soft_clip(x, drive):
    """tanh saturation after normalising to peak 1: lowers the crest factor."""
    x = x / peak(x)
    return np.tanh(drive * x) / math.tanh(drive)


def loop_shape(x, sr):
    """Rotate a loop so it starts in its quietest 10 ms, then dip it smoothly
    (to 5 %, over +-20 ms) around that point: the game starts the loop from
    near silence, and the wrap-around stays continuous."""
    w = int(0.01 * sr)
    e = np.convolve(np.concatenate([x, x[:w]]) ** 2, np.ones(w), "valid")[: len(x)]
    x = np.roll(x, -int(np.argmin(e) + w // 2))
    t = np.arange(len(x)) / sr
    dist = np.minimum(t, len(x) / sr - t)
    return x * (1.0 - 0.95 * np.exp(-(dist / 0.02) ** 2))


def fx_erase(sr):
    """Digging: a crunchy scraping loop (1.0 s, seamless)."""
    rng = np.random.default_rng(seed_of("erasenoise"))
    n = sr
    t = np.arange(n) / sr
    body = bandpass(rng.standard_normal(n), 250, 2600, 1, sr, circular=True)
    body = lowpass(body, 1200, 1, sr, circular=True) + 0.4 * body
    env = np.zeros(n)
    for i in range(5):                 # five scrapes a second
        c = (i + 0.15 * rng.random()) / 5.0
        d = (t - c) % 1.0
        env += (0.7 + 0.3 * rng.random()) * (1 - np.exp(-d / 0.012)) * np.exp(-d / 0.09)
    env = 0.08 + env
    y = body * env
    grit = np.zeros(n)
    for _ in range(60):                # crumbs
        pos = int(rng.random() * n)
        ln = int(0.004 * sr)
        g = rng.standard_normal(ln) * np.hanning(ln) * (0.5 + rng.random())
        idx = (pos + np.arange(ln)) % n
        grit[idx] += g
    grit = bandpass(grit, 1200, 6000, 1, sr, circular=True)
    y = soft_clip(y + 0.6 * grit * (0.3 + env / env.max()), 3.0)
    y = lowpass(y, 5000, 1, sr, circular=True)
    return loop_shape(y, sr)


def fx_paint(sr):
    """Building: a soft bubbling spray loop (1.0 s, seamless)."""
    rng = np.random.default_rng(seed_of("paintnoise"))
    n = sr
    t = np.arange(n) / sr
    hiss = bandpass(rng.standard_normal(n), 2500, 8000, 1, sr, circular=True)
    hiss *= 0.5 + 0.2 * np.sin(TWO_PI * 4 * t) ** 2
    y = 0.07 * hiss
    for i in range(14):                # bubbles
        pos = int((i + 0.6 * rng.random()) / 14.0 * n)
        ln = int(0.05 * sr)
        tt = np.arange(ln) / sr
        f0 = 500 + 500 * rng.random()
        f = f0 * (1.0 + 1.2 * tt / tt[-1])
        ph = np.cumsum(f) * TWO_PI / sr
        b = np.sin(ph - ph[0]) * np.exp(-tt / 0.018) * envelope(ln, sr, 0.002, tt[-1] - 0.005, 0.005)
        idx = (pos + np.arange(ln)) % n
        y[idx] += (0.35 + 0.2 * rng.random()) * b
    return loop_shape(soft_clip(y, 1.5), sr)


def fx_goindoor(sr):
    """A creature goes through the exit: a happy rising 'whee-pop' (0.38 s)."""
    n = int(0.38 * sr)
    t = np.arange(n) / sr
    m = int(0.16 * sr)
    f = 420.0 * 2.0 ** (1.5 * np.arange(m) / m)
    ph = np.cumsum(f) * TWO_PI / sr
    whee = (np.sin(ph - ph[0]) + 0.15 * np.sin(2 * (ph - ph[0]))) * envelope(m, sr, 0.01, m / sr - 0.03, 0.03)
    y = np.zeros(n)
    y[:m] += 0.8 * whee
    for start, fr in ((0.15, 1396.9), (0.21, 2093.0)):
        i = int(start * sr)
        tt = t[: n - i]
        y[i:] += 0.5 * np.sin(TWO_PI * fr * tt) * np.exp(-tt / 0.06) * envelope(n - i, sr, 0.002, 1, 0.01)
    return y * envelope(n, sr, 0.002, n / sr - 0.03, 0.03)


def fx_countdown(sr):
    """The trapped creature's tick: a bright two-partial 'bip' and silence,
    0.99 s in all, so back-to-back plays tick about once a second."""
    n = int(0.99 * sr)
    m = int(0.1 * sr)
    t = np.arange(m) / sr
    y = (np.sin(TWO_PI * 1046.5 * t) + 0.35 * np.sin(TWO_PI * 2093.0 * t) * np.exp(-t / 0.03)
         + 0.15 * np.sin(TWO_PI * 1568.0 * t)) * np.exp(-t / 0.045)
    y *= envelope(m, sr, 0.002, m / sr - 0.02, 0.02)
    out = np.zeros(n)
    out[:m] = y
    return out


def fx_chof(sr):
    """A creature's death: a soft squishy 'chof' with a puff of air (0.3 s)."""
    rng = np.random.default_rng(seed_of("chof"))
    n = int(0.3 * sr)
    t = np.arange(n) / sr
    f = 95.0 + 220.0 * np.exp(-t / 0.025)
    ph = np.cumsum(f) * TWO_PI / sr
    thump = np.sin(ph - ph[0]) * np.exp(-t / 0.06)
    nz = rng.standard_normal(n)
    splat = bandpass(nz, 400, 2500, 1, sr) * np.exp(-t / 0.035)
    puff = bandpass(rng.standard_normal(n), 1500, 7000, 1, sr) * (1 - np.exp(-t / 0.03)) * np.exp(-t / 0.07)
    y = soft_clip(0.9 * thump + 0.55 * splat + 0.25 * puff, 2.0)
    y = lowpass(y, 6000, 2, sr)
    return y * envelope(n, sr, 0.0015, n / sr - 0.04, 0.04)


def fx_logo_jingle(sr):
    """The studio logo: a harp run up into a warm bell chord, 3.4 s, stereo."""
    s = Song("logo", 120, 4, 2, ["Cmaj7", "Cmaj7"], circular=False)
    # 3.4 s buffer: 2 bars of 120 bpm are 4 s; the tail is faded to end at 3.4 s
    run = ["C5", "E5", "G5", "B5", "C6", "E6", "G6"]
    for i, nm in enumerate(run):
        s.note(1, "pluck", i * 0.25, 0.5, note_midi(nm), 0.8, -0.4 + 0.13 * i, 0.18, 0.35)
    chord = ["C4", "G4", "E5", "B5", "D6"]
    for i, nm in enumerate(chord):
        s.note(1, "epiano", 2.0, 2.5, note_midi(nm), 0.7, -0.3 + 0.15 * i, 0.14, 0.4)
        s.note(1, "pad", 1.75, 2.5, note_midi(nm), 0.7, 0.3 - 0.15 * i, 0.05, 0.4, legato=1.0)
    s.note(1, "bell", 2.0, 1, note_midi("G6"), 0.9, 0.25, 0.12, 0.45)
    s.note(1, "bell", 2.5, 1, note_midi("C7"), 0.6, -0.25, 0.06, 0.45)
    s.note(1, "bass", 2.0, 2.0, note_midi("C2"), 0.8, 0.0, 0.35, 0.1)
    y = s.render(reverb_t60=1.6)[1]
    n = int(3.4 * sr)
    y = y[:, :n]
    fade = int(0.9 * sr)
    y[:, -fade:] *= np.linspace(1.0, 0.0, fade) ** 2
    return y


EFFECTS = [
    # name, maker, sample rate, kind, loop
    ("Sound/cursormove22.wav", fx_cursormove, 22050, "wav", False),
    ("Sound/cursorok22.wav", fx_cursorok, 22050, "wav", False),
    ("Sound/cursorcancel22.wav", fx_cursorcancel, 22050, "wav", False),
    ("Sound/noaction.wav", fx_noaction, 44100, "wav", False),
    ("Sound/erasenoise22k.wav", fx_erase, 22050, "wav", True),
    ("Sound/paintnoise211k.wav", fx_paint, 22050, "wav", True),
    ("Sound/GoInDoor.ogg", fx_goindoor, 44100, "ogg", False),
    ("Sound/54321.wav", fx_countdown, 44100, "wav", False),
    ("Sound/chof.wav", fx_chof, 44100, "wav", False),
    ("Sound/intro_2.ogg", fx_logo_jingle, 44100, "ogg", False),
]


def k_weight(x, sr):
    """Approximate BS.1770 K-weighting: a high-pass near 60 Hz and +4 dB above 2 kHz."""
    def g(f):
        shelf = 1.0 + (undb(4.0) - 1.0) / (1.0 + (1500.0 / np.maximum(f, 1e-9)) ** 2)
        return bw_high(60.0, 1)(f) * shelf
    return fft_gain(x, g, sr)


def loudness(x, sr):
    """dB of the K-weighted mean square over the 20 ms frames within 20 dB of the loudest."""
    y = k_weight(np.atleast_2d(x), sr)
    p = np.sum(y ** 2, axis=0) / y.shape[0]
    w = int(0.02 * sr)
    frames = p[: len(p) // w * w].reshape(-1, w).mean(axis=1)
    keep = frames[frames >= frames.max() * 0.01]
    return 10.0 * math.log10(keep.mean())


def make_effects(log):
    files = {}
    for name, fn, sr, kind, looping in EFFECTS:
        y = fn(sr)
        g = min(undb(EFFECT_LOUDNESS - loudness(y, sr)), undb(EFFECT_PEAK_DB) / peak(y))
        y = y * g
        files[name] = (kind, y, sr, EFFECT_OGG_QUALITY)
        log("%-28s %5.3f s  loudness %6.1f dB  peak %5.1f dBFS%s"
            % (name, y.shape[-1] / sr, loudness(y, sr), db(peak(y)), "  (loop)" if looping else ""))
    return files


# --------------------------------------------------------------------------
# Output
# --------------------------------------------------------------------------

def to_pcm16(x):
    x = np.atleast_2d(x)
    q = np.clip(np.round(x * 32767.0), -32768, 32767).astype("<i2")
    return q.T.copy()     # frames x channels


def write_wav(path, x, sr):
    pcm = to_pcm16(x)
    with wave.open(path, "wb") as w:
        w.setnchannels(pcm.shape[1])
        w.setsampwidth(2)
        w.setframerate(sr)
        w.writeframes(pcm.tobytes())


def write_ogg(path, x, sr, quality, tmp):
    wav = os.path.join(tmp, "render.wav")
    write_wav(wav, x, sr)
    # -R: repeatable mode (fixed stream serial), so the file is byte-identical on re-runs
    subprocess.run(["sox", "-R", "-V1", wav, "-C", str(quality), "--comment", "", path], check=True)


def write_all(out_root, log):
    files = make_effects(log)
    music, bgm = make_music(out_root, log)
    files.update(music)
    with tempfile.TemporaryDirectory() as tmp:
        for name, (kind, x, sr, q) in sorted(files.items()):
            path = os.path.join(out_root, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            if kind == "wav":
                write_wav(path, x, sr)
            else:
                write_ogg(path, x, sr, q, tmp)
    with open(os.path.join(out_root, "Sound", "levels.bgm"), "wb") as f:
        f.write(bgm.encode("ascii"))
    return sorted(files) + ["Sound/levels.bgm"]


# --------------------------------------------------------------------------
# Checks
# --------------------------------------------------------------------------

def decode(path):
    """Decoded samples (frames x channels, float) and rate, through sox."""
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "d.wav")
        subprocess.run(["sox", "-V1", path, "-b", "16", "-e", "signed-integer", wav], check=True)
        with wave.open(wav, "rb") as w:
            sr, ch, n = w.getframerate(), w.getnchannels(), w.getnframes()
            data = np.frombuffer(w.readframes(n), dtype="<i2").astype(np.float64) / 32768.0
    return data.reshape(-1, ch), sr


def sox_stat(path):
    r = subprocess.run(["sox", "-V1", path, "-n", "stat"], capture_output=True, text=True)
    vals = {}
    for line in r.stderr.splitlines():
        if ":" in line:
            k, v = line.rsplit(":", 1)
            try:
                vals[k.strip()] = float(v)
            except ValueError:
                pass
    return vals


def check(out_root):
    ok = True
    bgm_path = os.path.join(out_root, "Sound", "levels.bgm")
    with open(bgm_path, "rb") as f:
        lines = f.read().split(b"\n")
    assert lines[-1] == b"", "levels.bgm must end with a line feed"
    lines = lines[:-1]
    keys = {}
    for i in range(0, len(lines), 5):
        keys[lines[i].decode()] = [x.decode() for x in lines[i + 1:i + 5]]
    names = [e[0] for e in EFFECTS] + [n for v in keys.values() for n in v]
    print("%-34s %5s %3s %9s %8s %8s" % ("file", "rate", "ch", "seconds", "peak dB", "rms dB"))
    total = 0
    for name in names:
        path = os.path.join(out_root, name)
        total += os.path.getsize(path)
        st = sox_stat(path)
        data, sr = decode(path)
        pk = db(max(abs(st.get("Maximum amplitude", 0.0)), abs(st.get("Minimum amplitude", 0.0))))
        print("%-34s %5d %3d %9.3f %8.2f %8.2f" % (name, sr, data.shape[1], st["Length (seconds)"], pk,
                                                 db(st.get("RMS     amplitude", 0.0))))
        if pk > -0.9:
            print("   !! peak too high")
            ok = False
    print("\nloop joins (decoded; |last - first| vs the file's own sample steps):")
    print("%-34s %10s %10s %10s %10s %12s" % ("file", "samples", "first", "|join|", "p99 |step|",
                                             "|d2| join/p99"))
    loops = [e[0] for e in EFFECTS if e[4]] + [n for v in keys.values() for n in v[1:]]
    for key, v in keys.items():
        lens = set()
        for name in v[1:]:
            data, sr = decode(os.path.join(out_root, name))
            lens.add(len(data))
        if len(lens) != 1:
            print("   !! %s layers differ in length: %s" % (key, sorted(lens)))
            ok = False
    for name in loops:
        data, sr = decode(os.path.join(out_root, name))
        x = data.mean(axis=1) if data.shape[1] > 1 else data[:, 0]
        step = np.abs(np.diff(x))
        p99 = np.percentile(step, 99)
        join = abs(x[0] - x[-1])
        # second difference across the join vs typical
        xx = np.concatenate([x[-2:], x[:2]])
        d2 = abs(xx[3] - 2 * xx[2] + xx[1]) + abs(xx[2] - 2 * xx[1] + xx[0])
        d2typ = np.percentile(np.abs(np.diff(x, 2)), 99)
        print("%-34s %10d %10.5f %10.5f %10.5f %12.2f" % (name, len(x), x[0], join, p99,
                                                        d2 / max(d2typ, 1e-9)))
        if join > max(p99, 1e-3):
            print("   !! join step larger than the file's 99th percentile step")
            ok = False
    print("\nSound folder: %.2f MB" % (total / 1e6))
    return ok


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", default=os.path.join(REPO, "data"), help="data root (Sound/ is made in it)")
    ap.add_argument("--check", action="store_true", help="only measure the files already there")
    ap.add_argument("--quiet", action="store_true")
    a = ap.parse_args()
    if a.check:
        sys.exit(0 if check(a.out) else 1)
    log = (lambda s: None) if a.quiet else print
    names = write_all(a.out, log)
    if not a.quiet:
        print("wrote %d files under %s" % (len(names), os.path.join(a.out, "Sound")))


if __name__ == "__main__":
    main()
