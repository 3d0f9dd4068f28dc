#pragma once
// The title file: one file holding every topic, index and baggage file of a title.
// docs/title-format.md is the full description; this is the grammar the code follows.
// All integers are little-endian; "ref" is a byte offset into the Strings section or
// kNone; "none" and "-1" are 0xFFFFFFFF.
//
//   file       = header directory section* (sections follow each other without gaps)
//   header     = magic[8] "KROTITL\x1A"  major:u16 (1)  minor:u16 (0)
//                sectionCount:u32 (1..kMaxSections)  directoryCrc:u32 (CRC-32 of directory)
//                fileSize:u32 (must equal the real size)  reserved:u32[2] (0)
//   directory  = entry[sectionCount]
//   entry      = kind:u32  offset:u32  size:u32  crc:u32 (CRC-32 of the section bytes)
//
// Sections (kinds below; a kind appears at most once; unknown kinds are skipped, so new
// kinds need no version change):
//   Summary      topicCount:u32 (<= kMaxTopics)  articleCount:u32 (<= topicCount)
//                contentsTopic:u32 (< topicCount or none)  reserved:u32 (0)
//   Topics       topic[topicCount], 32 bytes each:
//                blobOffset:u32 blobSize:u32 (in TopicText)  blobCrc:u32
//                titleRef:u32  contextRef:u32  dataRef:u32  browsePrev:u32  browseNext:u32
//   TopicText    blob*; blob = headingSize:u32 bodySize:u32 heading[headingSize] body[bodySize]
//                (a region of size 0 is absent; regions are the rich text of RichText.h)
//   Strings      string*; string = length:u16 bytes[length] (cp1251, no NUL)
//   Contexts     count:u32  {hash:u32 topic:u32}[count], hashes strictly ascending
//   Fonts        count:u32 (1..255)  {face[32] (NUL-padded) charset:u8 family:u8 reserved:u16}[count]
//   WordWheels   count:u32  {nameRef entryCount entriesOffset addrsOffset addrCount : u32}[count]
//                entries at entriesOffset (from the section start): {keyRef firstAddr addrCount : u32},
//                sorted by the word-wheel order of Collation.h; addrs: topic numbers (u32)
//   StoredLists  count:u32  {nameRef count offset : u32}[count], names strictly ascending by
//                bytes; each list: ascending unique topic numbers (u32) at offset
//   Baggage      count:u32  {nameRef offset size crc : u32}[count], names strictly ascending
//                by their case-folded bytes; offset/size inside BaggageData
//   BaggageData  file bytes
//   FullTextIndex  opaque, owned by the search library
//
// Checksums: the directory is checked at open; a section is checked when first used,
// except TopicText and BaggageData, whose blobs and files carry their own CRC checked
// when each is read. So opening a title of any size reads only the header and directory.
//
// Change log: 1.0 first version.
#include <cstdint>
#include <string_view>

namespace kro::mv {

inline constexpr char kTitleMagic[8] = {'K', 'R', 'O', 'T', 'I', 'T', 'L', '\x1A'};
inline constexpr uint16_t kTitleMajor = 1;
inline constexpr uint16_t kTitleMinor = 0;
inline constexpr uint32_t kHeaderSize = 32;
inline constexpr uint32_t kDirectoryEntrySize = 16;
inline constexpr uint32_t kNone = 0xFFFFFFFFu;

// Limits that bound every count read from disk before anything is allocated.
inline constexpr uint32_t kMaxSections = 64;
inline constexpr uint32_t kMaxTopics = 1u << 24;       // topic numbers fit 24 bits of an address
inline constexpr uint32_t kMaxFonts = 255;
inline constexpr uint32_t kMaxNameBytes = 255;         // titles, keys, context strings, list names
inline constexpr uint32_t kMaxHotspotDataBytes = 255;  // the caller's hotspot buffer holds 256 with NUL
inline constexpr uint32_t kFontFaceBytes = 32;
inline constexpr uint32_t kTopicRecordSize = 32;
inline constexpr uint8_t kRussianCharset = 204;

enum class SectionKind : uint32_t {
  Summary = 1,
  Topics = 2,
  TopicText = 3,
  Strings = 4,
  Contexts = 5,
  Fonts = 6,
  WordWheels = 7,
  StoredLists = 8,
  Baggage = 9,
  BaggageData = 10,
  FullTextIndex = 11,
};
inline constexpr uint32_t kSectionKindCount = 12;  // kinds 1..11 are known

// Hash of a context string, as jump and popup hotspots carry it: FNV-1a over the bytes
// with ASCII letters folded to lower case (context strings match without regard to case).
constexpr uint32_t ContextHash(std::string_view context) {
  uint32_t hash = 2166136261u;
  for (const char c : context) {
    auto byte = static_cast<uint8_t>(c);
    if (byte >= 'A' && byte <= 'Z') byte = static_cast<uint8_t>(byte + 32);
    hash = (hash ^ byte) * 16777619u;
  }
  return hash;
}

// Addresses. A logical address ("addr") is the topic number; a view address ("va") is the
// topic number with kViewAddressTag set. Both are -1 (kNone) for none.
inline constexpr uint32_t kViewAddressTag = 0x40000000u;
constexpr uint32_t ViewAddressOf(uint32_t topic) { return topic == kNone ? kNone : topic | kViewAddressTag; }
// The topic of a view address, or kNone when the value is not one.
constexpr uint32_t TopicOfViewAddress(uint32_t va) {
  return (va & 0xFF000000u) == kViewAddressTag ? va & 0x00FFFFFFu : kNone;
}
// The topic of a logical address, or kNone when the value is not one.
constexpr uint32_t TopicOfAddress(uint32_t addr) { return addr < kMaxTopics ? addr : kNone; }

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

}  // namespace kro::mv
