#include "runtime/quicktime/core/MovieContainer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace kro::qt {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// ffprobe's "flat" output: key=value, strings quoted.
std::map<std::string, std::string> ReadProbe(const std::string& path) {
  std::map<std::string, std::string> values;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    const size_t eq = line.find('=');
    std::string value = line.substr(eq + 1);
    value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
    values[line.substr(0, eq)] = value;
  }
  return values;
}

Result<MovieContainer> Parse(const Bytes& bytes) {
  MemorySource source(bytes);
  return ParseMovie(source);
}

// The parse's fault as the diagnostics print it, or "parsed".
std::string Fault(const Bytes& bytes) {
  const auto parse = Parse(bytes);
  return parse ? "parsed" : parse.error().ToString();
}

std::string MediaPath(const std::string& name) { return std::string(QT_TEST_MEDIA) + "/" + name; }

uint32_t ReadU32(const Bytes& b, size_t at) {
  return uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}
void WriteU32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
}
// Offset of the size field of the n-th atom of `type` (found by its four letters).
size_t AtomAt(const Bytes& b, const char* type, int n = 0) {
  const std::string_view needle(type, 4);
  for (size_t i = 4; i + 4 <= b.size(); ++i) {
    if (std::string_view(reinterpret_cast<const char*>(&b[i]), 4) == needle && n-- == 0) return i - 4;
  }
  ADD_FAILURE() << "no atom " << type;
  return 0;
}

class ProbedMovie : public testing::TestWithParam<std::string> {};

TEST_P(ProbedMovie, MatchesWhatFfprobeReports) {
  const auto parse = Parse(ReadFile(MediaPath(GetParam() + ".mov")));
  ASSERT_TRUE(parse) << parse.error().ToString();
  const MovieContainer& movie = *parse;
  auto probe = ReadProbe(MediaPath(GetParam() + ".probe"));

  EXPECT_NEAR(double(movie.duration) / movie.timeScale, std::stod(probe["format.duration"]), 0.001);
  ASSERT_TRUE(movie.video);
  EXPECT_EQ(FourccText(movie.video->codec), probe["streams.stream.0.codec_tag_string"]);
  EXPECT_EQ(movie.width, std::stoul(probe["streams.stream.0.width"]));
  EXPECT_EQ(movie.height, std::stoul(probe["streams.stream.0.height"]));
  EXPECT_EQ(movie.video->samples.size(), std::stoul(probe["streams.stream.0.nb_read_frames"]));
  EXPECT_EQ(movie.video->mediaDuration, std::stoull(probe["streams.stream.0.duration_ts"]));
  if (probe.count("streams.stream.1.codec_type") == 0) {
    EXPECT_FALSE(movie.audio);
    return;
  }
  ASSERT_TRUE(movie.audio);
  const AudioTrack& audio = *movie.audio;
  EXPECT_EQ(FourccText(audio.codec), probe["streams.stream.1.codec_tag_string"]);
  EXPECT_EQ(audio.sampleRate, std::stoul(probe["streams.stream.1.sample_rate"]));
  EXPECT_EQ(audio.channels, std::stoul(probe["streams.stream.1.channels"]));
  EXPECT_EQ(audio.bitsPerSample, std::stoul(probe["streams.stream.1.bits_per_sample"]));
  EXPECT_EQ(audio.frameCount, std::stoull(probe["streams.stream.1.duration_ts"]));
}

INSTANTIATE_TEST_SUITE_P(Ffmpeg, ProbedMovie,
                         testing::Values("jpeg_twos16_mono_first", "mjpa_sowt16_stereo_last",
                                         "jpeg_raw8_stereo_last", "jpeg_signed8_mono_first",
                                         "jpeg_lpcm16_mono_last", "jpeg_silent_first"));

TEST(MovieContainer, PcmEncodingFollowsCodecAndWidth) {
  const struct {
    const char* name;
    PcmEncoding encoding;
  } cases[] = {
      {"jpeg_twos16_mono_first", PcmEncoding::Signed16BE},
      {"mjpa_sowt16_stereo_last", PcmEncoding::Signed16LE},
      {"jpeg_raw8_stereo_last", PcmEncoding::Unsigned8},
      {"jpeg_signed8_mono_first", PcmEncoding::Signed8},
      {"jpeg_lpcm16_mono_last", PcmEncoding::Signed16LE},
  };
  for (const auto& c : cases) {
    const auto parse = Parse(ReadFile(MediaPath(std::string(c.name) + ".mov")));
    ASSERT_TRUE(parse && parse->audio) << c.name;
    EXPECT_EQ(parse->audio->encoding, c.encoding) << c.name;
  }
}

TEST(MovieContainer, FramesAreTheJpegStreamsInTimeOrder) {
  const Bytes bytes = ReadFile(MediaPath("mjpa_sowt16_stereo_last.mov"));
  const auto parse = Parse(bytes);
  ASSERT_TRUE(parse);
  const VideoTrack& video = *parse->video;
  for (const SampleRef& s : video.samples) {
    ASSERT_GE(s.sizeBytes, 4u);
    EXPECT_EQ(bytes[s.offset], 0xFF);
    EXPECT_EQ(bytes[s.offset + 1], 0xD8);
    EXPECT_EQ(bytes[s.offset + s.sizeBytes - 2], 0xFF);
    EXPECT_EQ(bytes[s.offset + s.sizeBytes - 1], 0xD9);
  }
  // Ten frames a second: the frame on show at 1.05 s is the eleventh.
  EXPECT_EQ(video.SampleAt(uint64_t(1.05 * video.timeScale)), 10u);
  EXPECT_EQ(video.SampleAt(video.mediaDuration * 2), video.samples.size() - 1);
}

// Replaces `oldBytes` bytes at `at` inside the first video track's sample table of a
// moov-last file (whose chunks stay where they are) by `replacement`, growing or shrinking
// every enclosing atom.
Bytes SpliceIntoSampleTable(Bytes b, size_t at, size_t oldBytes, const Bytes& replacement) {
  const int32_t growth = int32_t(replacement.size()) - int32_t(oldBytes);
  for (const char* type : {"moov", "trak", "mdia", "minf", "stbl"}) {
    const size_t atom = AtomAt(b, type);
    WriteU32(b, atom, ReadU32(b, atom) + growth);
  }
  b.erase(b.begin() + at, b.begin() + at + oldBytes);
  b.insert(b.begin() + at, replacement.begin(), replacement.end());
  return b;
}

Bytes TableAtom(const char* type, const std::vector<uint64_t>& entries, int entryBytes) {
  Bytes atom(16 + entries.size() * entryBytes);
  WriteU32(atom, 0, uint32_t(atom.size()));
  std::copy_n(type, 4, atom.begin() + 4);
  WriteU32(atom, 12, uint32_t(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entryBytes == 8) WriteU32(atom, 16 + 8 * i, uint32_t(entries[i] >> 32));
    WriteU32(atom, 16 + entryBytes * i + (entryBytes - 4), uint32_t(entries[i]));
  }
  return atom;
}

Bytes WithWideChunkOffsets(const Bytes& b) {
  const size_t stco = AtomAt(b, "stco");
  std::vector<uint64_t> offsets;
  for (uint32_t i = 0; i < ReadU32(b, stco + 12); ++i) offsets.push_back(ReadU32(b, stco + 16 + 4 * i));
  return SpliceIntoSampleTable(b, stco, ReadU32(b, stco), TableAtom("co64", offsets, 8));
}

TEST(MovieContainer, ReadsKeyFramesAndChecksThem) {
  const Bytes last = ReadFile(MediaPath("mjpa_sowt16_stereo_last.mov"));
  const size_t stco = AtomAt(last, "stco");
  const auto parse = Parse(SpliceIntoSampleTable(last, stco, 0, TableAtom("stss", {1, 5, 9}, 4)));
  ASSERT_TRUE(parse) << parse.error().ToString();
  EXPECT_EQ(parse->video->syncSamples, (std::vector<uint32_t>{1, 5, 9}));
  // The spliced stss sits where stco was; its entries start 16 bytes in.
  const std::string at = std::to_string(stco + 8);
  const uint32_t samples = uint32_t(parse->video->samples.size());
  EXPECT_EQ(Fault(SpliceIntoSampleTable(last, stco, 0, TableAtom("stss", {1, 0}, 4))),
            "offset " + std::to_string(stco + 20) + ": out of limits: stss names sample 0 of " + std::to_string(samples));
  EXPECT_EQ(Fault(SpliceIntoSampleTable(last, stco, 0, TableAtom("stss", {samples + 1}, 4))),
            "offset " + std::to_string(stco + 16) + ": out of limits: stss names sample " + std::to_string(samples + 1) + " of " +
                std::to_string(samples));
  Bytes tooMany = TableAtom("stss", {1}, 4);
  WriteU32(tooMany, 12, 1000);
  EXPECT_EQ(Fault(SpliceIntoSampleTable(last, stco, 0, tooMany)), "offset " + at + ": out of limits: stss count 1000 out of range");
}

TEST(MovieContainer, ReadsWideChunkOffsetsAndWideAtomSizes) {
  const Bytes original = ReadFile(MediaPath("jpeg_silent_first.mov"));
  const Bytes last = ReadFile(MediaPath("mjpa_sowt16_stereo_last.mov"));
  const auto reference = Parse(last);
  ASSERT_TRUE(reference);

  const auto wide = Parse(WithWideChunkOffsets(last));
  ASSERT_TRUE(wide) << wide.error().ToString();
  EXPECT_EQ(wide->video->samples.back().offset, reference->video->samples.back().offset);

  // ffmpeg leaves an 8-byte 'wide' atom before mdat so its header can take a 64-bit size.
  Bytes large = last;
  const size_t mdat = AtomAt(large, "mdat");
  ASSERT_EQ(ReadU32(large, mdat - 4), Fourcc("wide"));
  const uint64_t size = ReadU32(large, mdat) + 8;
  WriteU32(large, mdat - 8, 1);
  std::copy_n("mdat", 4, large.begin() + mdat - 4);
  WriteU32(large, mdat, uint32_t(size >> 32));
  WriteU32(large, mdat + 4, uint32_t(size));
  const auto parse = Parse(large);
  ASSERT_TRUE(parse) << parse.error().ToString();
  EXPECT_EQ(parse->video->samples.size(), reference->video->samples.size());
  EXPECT_TRUE(Parse(original));
}

TEST(MovieContainer, RefusesEveryTruncation) {
  for (const char* name : {"jpeg_silent_first.mov", "jpeg_signed8_mono_first.mov"}) {
    const Bytes bytes = ReadFile(MediaPath(name));
    for (size_t size = 0; size < bytes.size(); ++size) {
      const Bytes cut(bytes.begin(), bytes.begin() + size);
      const auto parse = Parse(cut);
      ASSERT_FALSE(parse) << name << " cut at " << size;
      EXPECT_LE(parse.error().offset, size) << name << " cut at " << size;
    }
  }
}

// Each fault is reported at the atom that holds it: `reported` names that atom, `rel` the
// bytes from its start (8: the body).
TEST(MovieContainer, RefusesDamagedTablesWithTheirCause) {
  const Bytes good = ReadFile(MediaPath("jpeg_twos16_mono_first.mov"));
  const uint32_t frames = uint32_t(Parse(good)->video->samples.size());
  const struct {
    const char* what;
    const char* atom;
    int nth;
    size_t field;  // bytes after the atom's start
    uint32_t value;
    const char* reported;
    int reportedNth;
    size_t rel;
    std::string error;
  } cases[] = {
      {"atom larger than its parent", "stsz", 0, 0, 0xFFFFFFF0u, "stsz", 0, 0, "out of limits: atom 'stsz' size 4294967280 does not fit its parent"},
      {"atom smaller than its header", "stts", 0, 0, 3, "stts", 0, 0, "out of limits: atom 'stts' size 3 does not fit its parent"},
      {"zero time scale", "mvhd", 0, 20, 0, "mvhd", 0, 8, "bad value: mvhd time scale is 0"},
      {"unknown movie header version", "mvhd", 0, 8, 0x02000000u, "mvhd", 0, 8, "unknown version: mvhd version 2, this reader reads versions 0 and 1"},
      {"unknown media header version", "mdhd", 1, 8, 0x05000000u, "mdhd", 1, 8, "unknown version: mdhd version 5, this reader reads versions 0 and 1"},
      {"huge sample count", "stsz", 0, 16, 0x40000000u, "stsz", 0, 8,
       "bad value: stsz sample count 1073741824 disagrees with stts (" + std::to_string(frames) + ")"},
      {"fixed sample size beyond the file", "stsz", 0, 12, 0x7FFFFFFFu, "stsz", 0, 8, "out of limits: stsz describes more bytes than the file holds"},
      {"huge stts count", "stts", 0, 12, 0xFFFFFFFFu, "stts", 0, 8, "out of limits: stts entry count 4294967295 out of range"},
      {"chunk past the file", "stco", 0, 16, 0x7FFFFFF0u, "stsz", 0, 8, "out of limits: video sample 1 is empty, too large or outside the file"},
      {"sound chunk past the file", "stco", 1, 16, 0x7FFFFFF0u, "stco", 1, 8, "out of limits: sound chunk 1 lies outside the file"},
      {"stsc chunk 0", "stsc", 0, 16, 0, "stsc", 0, 16, "out of order: stsc chunk 0 out of order or past the "},
      {"huge frame width", "stsd", 0, 48, 0xFFFF0018u, "stsd", 0, 8, "out of limits: video frame 65535 x 24 out of range"},
      {"zero frame size", "stsz", 0, 20, 0, "stsz", 0, 8, "out of limits: video sample 1 is empty, too large or outside the file"},
      {"no sample description", "stsd", 0, 12, 0, "stsd", 0, 8, "bad value: stsd without entries"},
  };
  for (const auto& c : cases) {
    Bytes bytes = good;
    WriteU32(bytes, AtomAt(bytes, c.atom, c.nth) + c.field, c.value);
    const std::string expected = "offset " + std::to_string(AtomAt(bytes, c.reported, c.reportedNth) + c.rel) + ": " + c.error;
    EXPECT_EQ(Fault(bytes).substr(0, expected.size()), expected) << c.what;
  }
}

TEST(MovieContainer, TopLevelSizesAreChecked) {
  // A moov-last file whose movie atom says "to the end of the file".
  const Bytes last = ReadFile(MediaPath("jpeg_raw8_stereo_last.mov"));
  Bytes toEnd = last;
  WriteU32(toEnd, AtomAt(toEnd, "moov"), 0);
  EXPECT_TRUE(Parse(toEnd));
  Bytes pastEnd = last;
  const size_t mdat = AtomAt(pastEnd, "mdat");
  WriteU32(pastEnd, mdat, 0x7FFFFFFFu);
  EXPECT_EQ(Fault(pastEnd), "offset " + std::to_string(mdat) + ": truncated: atom 'mdat' size 2147483647 runs past the end of the file");
  WriteU32(pastEnd, mdat, 7);
  EXPECT_EQ(Fault(pastEnd), "offset " + std::to_string(mdat) + ": out of limits: atom 'mdat' size 7 is smaller than its header");
}

TEST(MovieContainer, RefusesFilesWithoutAMovie) {
  const struct {
    Bytes bytes;
    const char* error;
  } kCases[] = {
      {{}, "offset 0: missing: no movie atom"},
      {{0, 0, 0, 8, 'f', 'r', 'e', 'e'}, "offset 8: missing: no movie atom"},
      {{0, 0, 0, 8, 'f', 'r', 'e', 'e', 0, 0}, "offset 8: truncated: atom header: needs 4 bytes, 2 left"},
      {{0, 0, 0, 8, 'c', 'm', 'o', 'v'}, "offset 0: unsupported: compressed movie atom"},
      {{0, 0, 0, 8, 'm', 'o', 'o', 'v'}, "offset 8: missing: movie without mvhd"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Fault(c.bytes), c.error);
}

}  // namespace
}  // namespace kro::qt
