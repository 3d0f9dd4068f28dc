"""The sound recordings of the sound gallery: Russian speech spoken by espeak-ng and tunes
synthesised here (plucked strings, bells, reeds, bird calls, surf), mixed to 16-bit mono and
written by ffmpeg as audio-only QuickTime movies (twos) that the sound player plays."""
import array
import math
import pathlib
import random
import struct
import subprocess
import sys
import wave

RATE = 22050
PEAK = 30000

# Semitones of the tunes above their base note; a beat of 0 length marks a rest.
KAMARINSKAYA = [(7, 1), (7, 1), (5, 1), (4, 1), (2, 1), (4, 1), (5, 2), (7, 1), (7, 1), (5, 1), (4, 1), (2, 1), (0, 1), (2, 2)]
BEREZA = [(0, 2), (0, 1), (0, 1), (0, 2), (-2, 1), (-4, 1), (-5, 2), (-5, 2), (-2, 2), (-4, 1), (-5, 1), (-7, 4)]
UKHNEM = [(0, 2), (3, 1), (5, 1), (7, 3), (5, 1), (3, 2), (0, 2), (-2, 2), (0, 4)]
SWAN = [(7, 4), (0, 1), (2, 1), (3, 1), (5, 1), (7, 3), (3, 1), (7, 3), (3, 1), (7, 6), (0, 1), (3, 1), (0, 1), (-4, 1), (0, 6)]


def _silence(seconds):
    return [0.0] * int(seconds * RATE)


def _mix(into, part, at=0.0, gain=1.0):
    start = int(at * RATE)
    if len(into) < start + len(part):
        into.extend([0.0] * (start + len(part) - len(into)))
    for i, v in enumerate(part):
        into[start + i] += v * gain
    return into


def _pluck(freq, seconds, rng, damping=0.996):
    """Karplus-Strong: a noise burst in a delay line that loses its highs as it rings."""
    period = max(2, int(RATE / freq))
    line = [rng.uniform(-1, 1) for _ in range(period)]
    out = []
    for i in range(int(seconds * RATE)):
        v = line[i % period]
        nxt = line[(i + 1) % period]
        line[i % period] = damping * 0.5 * (v + nxt)
        out.append(v)
    return out


def _tone(freq, seconds, harmonics, attack=0.02, decay=0.0, vibrato=0.0):
    out = []
    n = int(seconds * RATE)
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = freq * (1 + vibrato * math.sin(2 * math.pi * 5.5 * t))
        phase += 2 * math.pi * f / RATE
        env = min(1.0, t / attack) * min(1.0, (seconds - t) / 0.05) * (math.exp(-decay * t) if decay else 1.0)
        out.append(env * sum(a * math.sin(k * phase) for k, a in harmonics))
    return out


def _bell(freq, seconds):
    """Inharmonic partials of a church bell, the hum outlasting the strike."""
    partials = [(0.5, 0.5, 0.6), (1.0, 1.0, 1.2), (1.19, 0.6, 1.6), (1.5, 0.4, 2.0), (2.0, 0.5, 2.6), (2.52, 0.3, 3.5), (3.0, 0.2, 4.5)]
    out = []
    for i in range(int(seconds * RATE)):
        t = i / RATE
        out.append(sum(a * math.exp(-d * t) * math.sin(2 * math.pi * freq * r * t) for r, a, d in partials) * min(1.0, t * 400))
    return out


def _noise(seconds, rng, smooth):
    """White noise through a one-pole low-pass; `smooth` near 1 darkens it."""
    out, y = [], 0.0
    for _ in range(int(seconds * RATE)):
        y = smooth * y + (1 - smooth) * rng.uniform(-1, 1)
        out.append(y)
    return out


def _melody(notes, base, beat, voice):
    out, at = [], 0.0
    for semitone, beats in notes:
        length = beats * beat
        _mix(out, voice(base * 2 ** (semitone / 12), length), at)
        at += length
    return out


def _speech(text, work, pitch=50, speed=140):
    """Russian speech by espeak-ng, resampled to the disc's rate."""
    raw, wav = work / "speech.raw.wav", work / "speech.wav"
    subprocess.run(["espeak-ng", "-v", "ru", "-p", str(pitch), "-s", str(speed), "-w", str(raw), text], check=True)
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", str(raw), "-ac", "1", "-ar", str(RATE), "-c:a", "pcm_s16le", str(wav)],
                   check=True)
    with wave.open(str(wav), "rb") as w:
        frames = w.readframes(w.getnframes())
    raw.unlink()
    wav.unlink()
    return [v / 32768 for (v,) in struct.iter_unpack("<h", frames)]


def surf(rng, work):
    out = _noise(8, rng, 0.9)
    for i in range(len(out)):
        t = i / RATE
        out[i] *= 0.25 + 0.75 * max(0.0, math.sin(2 * math.pi * t / 3.2)) ** 2
    return out


def balalaika(rng, work):
    beat = 0.18
    # Each note strummed twice on the prima's three strings, as the plucking hand does.
    voice = lambda f, s: _mix(_pluck(f, s, rng), _pluck(f * 1.5, s, rng), 0, 0.6)
    out = _melody(KAMARINSKAYA * 2, 440, beat, voice)
    return _mix(out, _melody([(n - 12, b) for n, b in KAMARINSKAYA * 2], 440, beat, lambda f, s: _pluck(f, s, rng, 0.99)), 0, 0.5)


def bells(rng, work):
    out = _silence(1)
    for k in range(4):
        _mix(out, _bell(98, 3.0), k * 1.6, 0.7)
    for k in range(22):
        _mix(out, _bell([392, 440, 523, 587][(k * 3) % 4], 1.2), 0.4 + k * 0.3, 0.25)
    return out


def birch(rng, work):
    horn = lambda f, s: _tone(f, s, [(1, 0.6), (2, 0.3), (3, 0.2), (4, 0.08)], attack=0.06, vibrato=0.004)
    out = _melody(BEREZA, 587, 0.3, horn)
    for k in range(0, int(len(out) / RATE / 0.6)):
        _mix(out, _pluck([147, 220, 294][k % 3], 0.6, rng), k * 0.6, 0.35)
    return out


def chaliapin(rng, work):
    bass = lambda f, s: _tone(f, s, [(1, 0.6), (2, 0.35), (3, 0.25), (5, 0.1)], attack=0.1, vibrato=0.006)
    out = _melody(UKHNEM, 98, 0.45, bass)
    return _mix(_speech("Эй, ухнем! Эй, ухнем! Ещё разик, ещё да раз!", work, pitch=5, speed=110), out, 0.3, 0.55)


def cranes(rng, work):
    out = _silence(0.5)
    for k in range(10):
        call = _tone(900 if k % 2 else 1250, 0.35, [(1, 0.7), (2, 0.25), (3, 0.1)], attack=0.03, vibrato=0.03)
        _mix(out, call, 0.3 + k * 0.55, 0.8)
    return _mix(out, _noise(6.5, rng, 0.97), 0, 0.6)


def gagarin(rng, work):
    voice = _speech("Ключ на старт! Протяжка. Зажигание. Подъём. Поехали! Вижу Землю. Красота!", work, speed=130)
    return _mix(voice, _noise(len(voice) / RATE, rng, 0.5), 0, 0.05)  # the hiss of the radio line


def khomus(rng, work):
    out = []
    base = 110
    for i in range(int(7 * RATE)):
        t = i / RATE
        formant = 4 + 4 * (0.5 + 0.5 * math.sin(2 * math.pi * 0.7 * t))  # the mouth shaping the overtones
        pulse = math.exp(-(t % 0.25) * 9)
        out.append(pulse * sum(math.sin(2 * math.pi * base * k * t) / (1 + abs(k - formant)) for k in range(1, 12)) * 0.35)
    return out


def swan(rng, work):
    oboe = lambda f, s: _tone(f, s, [(1, 0.4), (2, 0.5), (3, 0.35), (4, 0.2), (5, 0.1)], attack=0.05, vibrato=0.005)
    out = _melody(SWAN, 330, 0.22, oboe)
    tremolo = _tone(165, len(out) / RATE, [(1, 0.3), (1.5, 0.2), (2, 0.15)])
    for i in range(len(tremolo)):
        tremolo[i] *= 0.6 + 0.4 * math.sin(2 * math.pi * 12 * i / RATE)
    return _mix(out, tremolo, 0, 0.5)


def taiga(rng, work):
    out = _mix(_silence(8), _noise(8, rng, 0.985), 0, 1.5)
    for k in range(14):
        chirp = []
        f0 = rng.uniform(2500, 4200)
        for i in range(int(0.12 * RATE)):
            t = i / RATE
            chirp.append(math.sin(2 * math.pi * (f0 + 9000 * t) * t) * math.sin(math.pi * t / 0.12))
        _mix(out, chirp, rng.uniform(0.2, 7.5), 0.45)
    for k in range(12):  # the woodpecker
        _mix(out, _noise(0.02, rng, 0.3), 4.0 + k * 0.07, 0.8)
    return out


TUNES = {f.__name__: f for f in (surf, balalaika, bells, birch, chaliapin, cranes, gagarin, khomus, swan, taiga)}


def _normalise(samples):
    peak = max((abs(v) for v in samples), default=0.0) or 1.0
    fade = int(0.03 * RATE)
    out = bytearray()
    for i, v in enumerate(samples):
        edge = min(1.0, i / fade, (len(samples) - 1 - i) / fade)
        out += struct.pack("<h", int(v / peak * edge * PEAK))
    return bytes(out)


def make(path, tune, work_dir):
    """Synthesises the named tune into path, an audio-only .mov; the same tune always gives
    the same bytes."""
    path, work = pathlib.Path(path), pathlib.Path(work_dir)
    path.parent.mkdir(parents=True, exist_ok=True)
    work.mkdir(parents=True, exist_ok=True)
    samples = TUNES[tune](random.Random(tune), work)
    wav = work / (path.stem + ".wav")
    with wave.open(str(wav), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(_normalise(samples))
    tmp = path.with_name(path.stem + ".tmp.mov")
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", str(wav), "-c:a", "pcm_s16be", "-fflags", "+bitexact",
                    "-movflags", "+faststart", "-f", "mov", str(tmp)], check=True)
    tmp.replace(path)
    wav.unlink()


def levels(path):
    """(RMS, peak) of a sound movie's track as fractions of full scale, decoded by ffmpeg."""
    pcm = subprocess.run(["ffmpeg", "-v", "error", "-i", str(path), "-f", "s16le", "-ac", "1", "-"],
                         check=True, capture_output=True).stdout
    values = array.array("h", pcm[: len(pcm) // 2 * 2])
    if sys.byteorder != "little":
        values.byteswap()
    if not values:
        return 0.0, 0.0
    rms = math.sqrt(math.fsum(v * v for v in values) / len(values)) / 32768
    return rms, max(max(values), -min(values)) / 32768
