#include "runtime/base/ByteReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace kro {
namespace {

const std::vector<uint8_t> kBytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};

TEST(ByteReader, ReadsLittleAndBigEndian) {
  ByteReader r(kBytes);
  EXPECT_EQ(r.U8(), 0x01);
  EXPECT_EQ(r.U16(), 0x0302);
  EXPECT_EQ(r.U32BE(), 0x04050607u);
  EXPECT_EQ(r.U16BE(), 0x0809);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.remaining(), 0u);
  r.Seek(1);
  EXPECT_EQ(r.U64(), 0x0908070605040302ull);
}

TEST(ByteReader, ErrorsAreSticky) {
  ByteReader r(kBytes);
  r.Skip(8);
  EXPECT_EQ(r.U16(), 0);  // one byte left, two asked
  EXPECT_FALSE(r.ok());
  r.Seek(0);
  EXPECT_EQ(r.U8(), 0);  // still failed after a seek
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteReader, TruncationAtEveryByteFailsCleanly) {
  for (size_t size = 0; size < 8; ++size) {
    ByteReader r(std::span<const uint8_t>(kBytes).first(size));
    r.U64();
    EXPECT_FALSE(r.ok()) << size;
  }
}

TEST(ByteReader, HostileOffsetsDoNotWrap) {
  ByteReader r(kBytes);
  EXPECT_FALSE(r.Sub(2, std::numeric_limits<size_t>::max()).ok());
  EXPECT_FALSE(r.Sub(std::numeric_limits<size_t>::max(), 2).ok());
  EXPECT_TRUE(r.Sub(9, 0).ok());
  EXPECT_FALSE(r.Sub(9, 1).ok());
  ByteReader sub = r.Sub(2, 3);
  EXPECT_EQ(sub.U16(), 0x0403);
  EXPECT_EQ(sub.U8(), 0x05);
  sub.U8();
  EXPECT_FALSE(sub.ok());
  EXPECT_TRUE(r.ok());
  r.Seek(9);
  EXPECT_TRUE(r.ok());
  r.Seek(10);
  EXPECT_FALSE(r.ok());
}

TEST(ByteReader, RangeFitsBoundaries) {
  EXPECT_TRUE(RangeFits(0, 0, 0));
  EXPECT_TRUE(RangeFits(10, 0, 10));
  EXPECT_FALSE(RangeFits(11, 0, 10));
  EXPECT_TRUE(RangeFits(4, 6, 10));
  EXPECT_FALSE(RangeFits(4, 7, 10));
  EXPECT_FALSE(RangeFits(1, std::numeric_limits<uint64_t>::max(), 10));
}

}  // namespace
}  // namespace kro
