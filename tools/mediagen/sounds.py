"""Sounds: 22050 Hz, 16-bit, mono."""
import math
import random
import struct
import wave


RATE = 22050


def envelope(t, length, attack=0.004, release=0.02):
    a = min(1.0, t / attack) if attack > 0 else 1.0
    r = min(1.0, (length - t) / release) if release > 0 else 1.0
    return max(0.0, min(a, r))


def soft_square(phase, harmonics=5):
    return sum(math.sin(phase * k) / k for k in range(1, harmonics * 2, 2)) * (4 / math.pi) * 0.8


class Noise:
    """Low-passed white noise from a fixed seed."""

    def __init__(self, seed, smooth):
        self.rng = random.Random(seed)
        self.smooth = smooth
        self.v = 0.0

    def next(self):
        self.v += (self.rng.uniform(-1.0, 1.0) - self.v) * self.smooth
        return self.v


def render(length, voice):
    n = int(length * RATE)
    return [voice(i / RATE) for i in range(n)]


def snd_walk():
    noise = Noise(11, 0.35)
    length = 0.11

    def v(t):
        thump = math.sin(2 * math.pi * (150 - 500 * t) * t) * math.exp(-t * 45)
        scuff = noise.next() * math.exp(-t * 70) * 1.4
        return (0.45 * thump + 0.35 * scuff) * envelope(t, length, 0.002, 0.02)
    return render(length, v)


def snd_jump():
    length = 0.22
    phase = [0.0]

    def v(t):
        f = 260 * (2.9 ** (t / length))
        phase[0] += 2 * math.pi * f / RATE
        return 0.32 * soft_square(phase[0], 4) * envelope(t, length, 0.004, 0.06)
    return render(length, v)


def snd_item():
    notes = [(0.0, 0.09, 988.0), (0.07, 0.34, 1318.5)]
    length = 0.34

    def v(t):
        s = 0.0
        for start, end, f in notes:
            if start <= t < end:
                u = t - start
                s += (math.sin(2 * math.pi * f * u) + 0.3 * math.sin(4 * math.pi * f * u)) \
                    * math.exp(-u * 9) * envelope(u, end - start, 0.003, 0.02)
        return 0.42 * s
    return render(length, v)


def snd_enemy_death():
    noise = Noise(23, 0.6)
    length = 0.42
    phase = [0.0]

    def v(t):
        f = 900 * (0.14 ** (t / length)) * (1 + 0.06 * math.sin(2 * math.pi * 30 * t))
        phase[0] += 2 * math.pi * f / RATE
        crunch = noise.next() * math.exp(-t * 25)
        return (0.3 * soft_square(phase[0], 3) + 0.25 * crunch) * envelope(t, length, 0.003, 0.08)
    return render(length, v)


def snd_death_enemy():
    # three falling "wah" notes and a low buzz
    notes = [(0.0, 0.2, 392.0), (0.2, 0.4, 330.0), (0.4, 0.95, 262.0)]
    length = 0.95
    phase = [0.0]

    def v(t):
        for start, end, f in notes:
            if start <= t < end:
                u = t - start
                bend = 1.0 - (0.25 * (u / (end - start)) if end == 0.95 else 0.0)
                vib = 1 + 0.02 * math.sin(2 * math.pi * 7 * u)
                phase[0] += 2 * math.pi * f * bend * vib / RATE
                wah = 0.6 + 0.4 * math.sin(math.pi * min(u / 0.18, 1.0))
                return 0.34 * soft_square(phase[0], 4) * wah * envelope(u, end - start, 0.005, 0.03)
        return 0.0
    return render(length, v)


def snd_death_fall():
    noise = Noise(37, 0.25)
    length = 1.05
    phase = [0.0]

    def v(t):
        s = 0.0
        if t < 0.72:
            f = 1500 * (0.13 ** (t / 0.72))
            phase[0] += 2 * math.pi * f / RATE
            s += 0.3 * math.sin(phase[0]) * envelope(t, 0.72, 0.01, 0.02)
        if t >= 0.72:
            u = t - 0.72
            s += 0.6 * math.sin(2 * math.pi * (70 - 40 * u) * u) * math.exp(-u * 9)
            s += 0.45 * noise.next() * math.exp(-u * 14)
        return s * envelope(t, length, 0.002, 0.05)
    return render(length, v)


SOUNDS = {
    "walk.wav": snd_walk,
    "jump.wav": snd_jump,
    "player_death_fall.wav": snd_death_fall,
    "player_death_enemy.wav": snd_death_enemy,
    "item.wav": snd_item,
    "enemy_death.wav": snd_enemy_death,
}


def write_wav(path, samples):
    frames = bytearray()
    for s in samples:
        v = int(round(max(-1.0, min(1.0, s)) * 32767))
        frames += struct.pack("<h", v)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))
