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
    // The first half of the U64 is read whole from four bytes on; the fault is the half that is not.
    EXPECT_EQ(r.error().offset, size < 4 ? 0u : 4u) << size;
  }
}

// The reader keeps its first fault: later reads, seeks and faults do not move it.
TEST(ByteReader, RemembersWhereAndWhyItFirstFailed) {
  const struct {
    const char* what;
    void (*read)(ByteReader&);
    const char* error;
  } kCases[] = {
      {"read past the end", [](ByteReader& r) { r.Skip(7); r.U32(); r.U8(); }, "offset 7: truncated: needs 4 bytes, 2 left"},
      {"seek past the end", [](ByteReader& r) { r.U16(); r.Seek(10); r.Seek(0); r.U8(); }, "offset 2: out of limits: seek to 10 past the end at 9"},
      {"fault named by the parser", [](ByteReader& r) { r.U8(); r.Fail(ParseCause::BadValue, "flag 1"); r.U64(); r.U64(); }, "offset 1: bad value: flag 1"},
      {"fault at an earlier field", [](ByteReader& r) { r.U32(); r.FailAt(2, ParseCause::UnknownVersion, "version 3"); r.Fail(ParseCause::BadMagic, ""); }, "offset 2: unknown version: version 3"},
      {"text cut short", [](ByteReader& r) { r.Text(12); }, "offset 0: truncated: needs 12 bytes, 9 left"},
  };
  for (const auto& c : kCases) {
    ByteReader r(kBytes);
    c.read(r);
    ASSERT_FALSE(r.ok()) << c.what;
    EXPECT_EQ(r.error().ToString(), c.error) << c.what;
  }
}

TEST(ByteReader, ReportsFileOffsetsThroughSubReaders) {
  ByteReader file(kBytes, 100);  // these bytes sit at 100 in their file
  ByteReader record = file.Sub(4, 3);
  EXPECT_EQ(record.fileOffset(), 104u);
  record.U16();
  record.U16();
  EXPECT_EQ(record.Error("record").ToString(), "offset 106: truncated: record: needs 2 bytes, 1 left");
  EXPECT_TRUE(file.ok());
  EXPECT_EQ(file.Sub(6, 4).error().ToString(), "offset 106: out of limits: 4 bytes at 106 run past the end at 109");
  // A hostile start is reported at the end of the bytes, never past them.
  EXPECT_EQ(file.Sub(std::numeric_limits<size_t>::max(), 1).error().offset, 109u);
  file.Skip(20);
  EXPECT_EQ(file.Sub(0, 1).error(), file.error());  // a failed reader hands on its fault
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
