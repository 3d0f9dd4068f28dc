#!/usr/bin/python3
"""Tests of the sound gallery's recordings: every sound on the built disc is an audio-only
movie the movie service plays, and it holds a voice or a tune, not silence; the validator
refuses a sound topic that does not embed the player on its recording.

KRO_PRODUCT_OUT names a build tree whose discs were built (the 'product' target);
KRO_CONTENT the content folder."""
import json
import os
import pathlib
import subprocess
import sys
import tempfile
import tomllib
import unittest

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

from disc import sounds, topics, validate  # noqa: E402

CONTENT = pathlib.Path(os.environ.get("KRO_CONTENT", HERE.parent.parent / "content"))
OUT = pathlib.Path(os.environ.get("KRO_PRODUCT_OUT", HERE.parent.parent / "build" / "native"))

# Below these a track is silence or a click, not something a reader hears as a recording.
MIN_RMS = 0.03
MIN_PEAK = 0.25
MIN_SECONDS = 3.0


def probe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=codec_type,codec_tag_string,sample_rate,duration",
                          "-of", "json", str(path)], check=True, capture_output=True, text=True).stdout
    return json.loads(out)["streams"]


class DiscSounds(unittest.TestCase):
    def setUp(self):
        with open(CONTENT / "media" / "sounds.toml", "rb") as f:
            self.sound_list = tomllib.load(f)["sound"]

    def test_every_recording_is_an_audio_only_movie_that_is_heard(self):
        self.assertGreaterEqual(len(self.sound_list), 1)
        for s in self.sound_list:
            path = OUT / "product" / validate.sound_file(s["topic"]).replace("\\", "/")
            with self.subTest(path.name):
                streams = probe(path)
                self.assertEqual([st["codec_type"] for st in streams], ["audio"])
                self.assertEqual(streams[0]["codec_tag_string"], "twos")  # what the movie service plays
                self.assertGreaterEqual(float(streams[0]["duration"]), MIN_SECONDS)
                rms, peak = sounds.levels(path)
                self.assertGreater(rms, MIN_RMS)
                self.assertGreater(peak, MIN_PEAK)

    def test_the_level_check_tells_silence(self):
        with tempfile.TemporaryDirectory() as d:
            quiet = pathlib.Path(d) / "quiet.mov"
            subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "anullsrc=r=22050:cl=mono", "-t", "4",
                            "-c:a", "pcm_s16be", "-f", "mov", str(quiet)], check=True)
            rms, peak = sounds.levels(quiet)
            self.assertLess(rms, MIN_RMS)
            self.assertLess(peak, MIN_PEAK)

    def test_speech_is_spoken_not_synthesised_tone(self):
        # espeak-ng's voice has pauses between words: the quietest tenth of a second of the
        # spoken recording is far below its loudest, which a steady tone never is.
        path = OUT / "product" / validate.sound_file("snd_gagarin").replace("\\", "/")
        pcm = subprocess.run(["ffmpeg", "-v", "error", "-i", str(path), "-f", "s16le", "-ac", "1", "-"],
                             check=True, capture_output=True).stdout
        step = sounds.RATE // 10 * 2
        blocks = [pcm[i:i + step] for i in range(0, len(pcm) - step, step)]
        energy = [sum(abs(int.from_bytes(b[k:k + 2], "little", signed=True)) for k in range(0, len(b), 2)) for b in blocks]
        self.assertLess(min(energy) * 10, max(energy))


class SoundValidation(unittest.TestCase):
    def topic(self, folder, name, text):
        path = pathlib.Path(folder) / name
        path.write_text(text, encoding="utf-8")
        return topics.parse_topic(path)

    def test_a_sound_topic_must_embed_the_player_on_its_recording(self):
        with tempfile.TemporaryDirectory() as d:
            article = self.topic(d, "a.md", "---\ncontext: topic_a\ntitle: Альфа\nwave: snd_x\n---\nТекст\n")
            right = self.topic(d, "x.md", "---\ncontext: snd_x\ntitle: Звук\nkind: popup\n---\n"
                                          "![sounds\\snd_x.mov](window:SoundClass@360x24)\n")
            wrong = self.topic(d, "y.md", "---\ncontext: snd_y\ntitle: Звук\nkind: popup\n---\n"
                                          "![sounds\\other.mov](window:SoundClass@360x24)\n")
            bare = self.topic(d, "z.md", "---\ncontext: snd_z\ntitle: Звук\nkind: popup\n---\nТолько текст\n")
            all_topics = [article, right, wrong, bare]
            good = [{"topic": "snd_x", "tune": "bells"}]
            self.assertEqual(validate.check_sounds(d, all_topics, good, sounds.TUNES), [])
            report = "\n".join(validate.check_sounds(d, all_topics, [
                {"topic": "snd_y", "tune": "bells"}, {"topic": "snd_z", "tune": "hum"}], sounds.TUNES))
            self.assertIn("y.md:3: a sound topic embeds one SoundClass on sounds\\snd_y.mov", report)
            self.assertIn("unknown tune 'hum'", report)
            self.assertIn("z.md:3: a sound topic embeds one SoundClass", report)
            self.assertIn("a.md:4: sound 'snd_x' has no recording in media/sounds.toml", report)


if __name__ == "__main__":
    unittest.main()
