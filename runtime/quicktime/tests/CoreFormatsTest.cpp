#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/quicktime/core/ControllerBar.h"
#include "runtime/quicktime/core/Pcm.h"
#include "runtime/quicktime/core/PictureFormat.h"

namespace kro::qt {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Padded(Bytes head, size_t size) {
  head.resize(size, 0);
  return head;
}

TEST(PictureFormat, RecognisedByContent) {
  const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10};
  const Bytes bmpInfo40 = Padded({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0}, 60);
  Bytes headerThenJpeg = Padded({}, kPictHeaderBytes + 40);
  headerThenJpeg.insert(headerThenJpeg.end(), jpeg.begin(), jpeg.end());
  Bytes headerThenPng = Padded({}, kPictHeaderBytes);
  const Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  headerThenPng.insert(headerThenPng.end(), png.begin(), png.end());
  const struct {
    const char* what;
    Bytes bytes;
    PictureFormat format;
    size_t offset;
  } cases[] = {
      {"jpeg", jpeg, PictureFormat::Jpeg, 0},
      {"png", png, PictureFormat::Png, 0},
      {"gif", {'G', 'I', 'F', '8', '9', 'a'}, PictureFormat::Gif, 0},
      {"bmp", bmpInfo40, PictureFormat::Bmp, 0},
      {"header then jpeg further on", headerThenJpeg, PictureFormat::Jpeg, kPictHeaderBytes + 40},
      {"header then png", headerThenPng, PictureFormat::Png, kPictHeaderBytes},
  };
  for (const auto& c : cases) {
    const auto sniff = SniffPicture(c.bytes);
    ASSERT_TRUE(sniff) << c.what << ": " << sniff.error().ToString();
    EXPECT_EQ(sniff->format, c.format) << c.what;
    EXPECT_EQ(sniff->offset, c.offset) << c.what;
  }
}

TEST(PictureFormat, RefusesWhatIsNoPicture) {
  const struct {
    const char* what;
    Bytes bytes;
    const char* error;
  } cases[] = {
      {"text starting BM", Padded({'B', 'M', 'W', ' ', 'o', 'w', 'n', 'e', 'r'}, 30), "offset 0: bad magic: no JPEG, PNG, BMP or GIF picture"},
      {"jpeg marker cut short", {0xFF, 0xD8}, "offset 0: bad magic: no JPEG, PNG, BMP or GIF picture"},
      {"empty", {}, "offset 0: bad magic: no JPEG, PNG, BMP or GIF picture"},
      {"header only", Padded({}, kPictHeaderBytes + 1),
       "offset 0: bad magic: no JPEG, PNG, BMP or GIF picture, nor a JPEG stream in the 1 bytes behind a 512-byte header"},
  };
  for (const auto& c : cases) {
    const auto sniff = SniffPicture(c.bytes);
    ASSERT_FALSE(sniff) << c.what;
    EXPECT_EQ(sniff.error().ToString(), c.error) << c.what;
  }
}

TEST(Pcm, ConvertsToWhatWaveOutPlays) {
  const struct {
    PcmEncoding encoding;
    Bytes in, out;
  } cases[] = {
      {PcmEncoding::Unsigned8, {0x00, 0x80, 0xFF}, {0x00, 0x80, 0xFF}},
      {PcmEncoding::Signed8, {0x00, 0x7F, 0x80, 0xFF}, {0x80, 0xFF, 0x00, 0x7F}},
      {PcmEncoding::Signed16BE, {0x12, 0x34, 0xAB, 0xCD, 0x99}, {0x34, 0x12, 0xCD, 0xAB}},
      {PcmEncoding::Signed16LE, {0x12, 0x34, 0x99}, {0x12, 0x34}},
  };
  for (const auto& c : cases) {
    Bytes out = {0x55};
    AppendPcm(c.encoding, c.in, out);
    Bytes expected = {0x55};  // appends after what is there
    expected.insert(expected.end(), c.out.begin(), c.out.end());
    EXPECT_EQ(out, expected);
  }
  EXPECT_EQ(OutputBits(PcmEncoding::Signed8), 8);
  EXPECT_EQ(OutputBits(PcmEncoding::Signed16BE), 16);
}

TEST(Pcm, ReadsAcrossChunksAndConverts) {
  std::ifstream in(std::string(QT_TEST_MEDIA) + "/jpeg_twos16_mono_first.mov", std::ios::binary);
  const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  MemorySource source(file);
  const auto parse = ParseMovie(source);
  ASSERT_TRUE(parse && parse->audio);
  const AudioTrack& track = *parse->audio;
  ASSERT_GT(track.chunks.size(), 2u);

  Bytes whole;
  EXPECT_EQ(ReadPcm(track, source, 0, uint32_t(track.frameCount) + 50, whole), track.frameCount);
  EXPECT_EQ(whole.size(), track.frameCount * 2);
  // Big-endian samples come out little-endian.
  EXPECT_EQ(whole[0], file[track.chunks[0].offset + 1]);
  EXPECT_EQ(whole[1], file[track.chunks[0].offset]);
  // Reads in odd pieces, each crossing chunk boundaries somewhere, give the same bytes.
  Bytes pieces;
  for (uint64_t frame = 0; frame < track.frameCount; frame += 997)
    ReadPcm(track, source, frame, 997, pieces);
  EXPECT_EQ(pieces, whole);
  Bytes none;
  EXPECT_EQ(ReadPcm(track, source, track.frameCount, 10, none), 0u);
  EXPECT_TRUE(none.empty());
}

TEST(ControllerBar, LaysOutButtonTrackAndTime) {
  const BarLayout l = LayoutBar(0, 100, 200);
  EXPECT_EQ(l.button.right, kBarHeight);
  EXPECT_EQ(l.bar.bottom, 100 + kBarHeight);
  EXPECT_EQ(l.text.left, 200 - kBarTextWidth);
  EXPECT_LT(l.track.left, l.track.right);
  EXPECT_TRUE(l.button.Contains(5, 105));
  EXPECT_FALSE(l.button.Contains(5, 99));
  // A bar too narrow for its parts keeps them ordered and non-negative.
  const BarLayout narrow = LayoutBar(0, 0, 10);
  EXPECT_LE(narrow.track.left, narrow.track.right);
  EXPECT_EQ(TimeAtX(narrow, 5, 1000), 0u);
}

TEST(ControllerBar, PositionAndTimeAreInverse) {
  const BarLayout l = LayoutBar(10, 0, 300);
  const uint32_t duration = 6000;
  EXPECT_EQ(TimeAtX(l, -50, duration), 0u);
  EXPECT_EQ(TimeAtX(l, 1000, duration), duration);
  for (uint32_t time : {0u, 1500u, 3000u, 6000u}) {
    const int x = ThumbLeft(l, time, duration) + kThumbWidth / 2;
    EXPECT_NEAR(double(TimeAtX(l, x, duration)), double(time), duration / 200.0) << time;
  }
  EXPECT_EQ(ThumbLeft(l, 9999, duration), ThumbLeft(l, duration, duration));
  EXPECT_EQ(ThumbLeft(l, 5, 0), l.track.left);
}

TEST(ControllerBar, ElapsedText) {
  EXPECT_EQ(ElapsedText(0, 600), "0:00");
  EXPECT_EQ(ElapsedText(599, 600), "0:00");
  EXPECT_EQ(ElapsedText(600 * 61, 600), "1:01");
  EXPECT_EQ(ElapsedText(4294967295u, 1), "71582788:15");
  EXPECT_EQ(ElapsedText(100, 0), "0:00");
}

}  // namespace
}  // namespace kro::qt
