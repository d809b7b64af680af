#!/usr/bin/env python3
"""Synthesizes the program's built-in sounds and writes them next to this script.

    BADGE.wav    a two-note chime, 16-bit mono at 22050 Hz, with a LIST/INFO chunk holding
                 its creation date after the sample data; 15308 bytes in all
    WUPPER.wav   a short rising whoop, 8-bit mono at 22050 Hz; its 3243 data bytes take a pad
                 byte to keep the chunk word-aligned; 3288 bytes in all
    DEFAULT.wav  a soft beep that stands in when a sound cannot be played

Run it with Python 3 (standard library only); the output is the same at every run.
"""

import math
import pathlib
import struct

RATE = 22050
CREATED = b"2026-12-11"  # the ICRD value of BADGE.wav, fixed so that every run gives the same file


def chunk(fourcc: bytes, payload: bytes) -> bytes:
    """A RIFF chunk; an odd payload is followed by one pad byte that its size does not count."""
    pad = b"\0" if len(payload) % 2 else b""
    return fourcc + struct.pack("<I", len(payload)) + payload + pad


def fmt_pcm(channels: int, rate: int, bits: int) -> bytes:
    block_align = channels * bits // 8
    return chunk(b"fmt ", struct.pack("<HHIIHH", 1, channels, rate, rate * block_align, block_align, bits))


def riff_wave(*chunks: bytes) -> bytes:
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def envelope(t: float, length: float, attack: float, release: float) -> float:
    """Raised-cosine attack and release, so no sound starts or ends with a click."""
    if t < attack:
        return 0.5 - 0.5 * math.cos(math.pi * t / attack)
    if t > length - release:
        rest = max(0.0, length - t)
        return 0.5 - 0.5 * math.cos(math.pi * rest / release)
    return 1.0


def pcm16(samples) -> bytes:
    return b"".join(struct.pack("<h", max(-32767, min(32767, round(s * 32767)))) for s in samples)


def pcm8(samples) -> bytes:
    return bytes(max(0, min(255, 128 + round(s * 127))) for s in samples)


def badge(count: int):
    """A rising fourth (G5, then C6) of bell-like tones, each decaying under the next."""
    length = count / RATE
    notes = [(0.0, 783.99, 0.55), (0.085, 1046.50, 0.6)]
    partials = [(1.0, 1.0), (2.0, 0.28), (3.0, 0.08)]
    for i in range(count):
        t = i / RATE
        s = 0.0
        for start, freq, level in notes:
            u = t - start
            if u < 0:
                continue
            strike = min(1.0, u / 0.004)  # a 4 ms strike avoids a click at each onset
            decay = math.exp(-u / 0.11)
            s += level * strike * decay * sum(a * math.sin(2 * math.pi * freq * p * u) for p, a in partials)
        yield 0.6 * s * envelope(t, length, 0.001, 0.02)


def wupper(count: int):
    """A whoop whose pitch glides up two octaves, from 330 Hz to 1320 Hz."""
    length = count / RATE
    low, high = 330.0, 1320.0
    phase = 0.0
    for i in range(count):
        t = i / RATE
        freq = low * (high / low) ** (t / length)
        phase += 2 * math.pi * freq / RATE
        yield 0.75 * envelope(t, length, 0.012, 0.035) * (math.sin(phase) + 0.12 * math.sin(2 * phase)) / 1.12


def default_beep(count: int):
    """A soft 660 Hz beep with a faint octave."""
    length = count / RATE
    for i in range(count):
        t = i / RATE
        s = math.sin(2 * math.pi * 660 * t) + 0.15 * math.sin(2 * math.pi * 1320 * t)
        yield 0.3 * envelope(t, length, 0.008, 0.045) * s / 1.15


def main() -> None:
    here = pathlib.Path(__file__).resolve().parent

    badge_data = pcm16(badge(15232 // 2))
    info = chunk(b"LIST", b"INFO" + chunk(b"ICRD", CREATED + b"\0"))
    files = {
        "BADGE.wav": riff_wave(fmt_pcm(1, RATE, 16), chunk(b"data", badge_data), info),
        "WUPPER.wav": riff_wave(fmt_pcm(1, RATE, 8), chunk(b"data", pcm8(wupper(3243)))),
        "DEFAULT.wav": riff_wave(fmt_pcm(1, RATE, 16), chunk(b"data", pcm16(default_beep(round(0.12 * RATE))))),
    }
    assert len(files["BADGE.wav"]) == 15308, len(files["BADGE.wav"])
    assert len(files["WUPPER.wav"]) == 3288, len(files["WUPPER.wav"])
    for name, data in files.items():
        (here / name).write_bytes(data)
        print(f"{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
