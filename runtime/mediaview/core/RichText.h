#pragma once
// The rich-text encoding of one topic region, and its decoder and encoder.
//
//   region  = record*            (empty region: no records; otherwise the first is PARA)
//   record  = PARA   0x01 align:u8 (0 left, 1 centre, 2 right, 3 justify)
//                         leftIndent:i16 rightIndent:i16 firstIndent:i16 (twips)
//                         spaceBefore:u16 spaceAfter:u16 (twips)
//           | FORMAT 0x02 font:u8 (< font count) halfPoints:u8 (>= 2) style:u8 (bit 0 bold,
//                         1 italic, 2 underline; others 0) colour:u32 (0x00BBGGRR)
//           | TEXT   0x03 length:u16 (>= 1) bytes[length] (cp1251, no byte below 0x20 but TAB)
//           | BREAK  0x04                          line break inside the paragraph
//           | LINK   0x05 kind:u8 hash:u32 dataLength:u8 (<= 255) data[dataLength]
//           | END    0x06                          ends the open LINK
//           | PICT   0x07 nameLength:u8 (>= 1) name[] altLength:u8 alt[]   inline baggage picture
//           | EMBED  0x08 width:u16 height:u16 (1..kMaxEmbeddedSide, pixels)
//                         classLength:u8 (>= 1) class[] dataLength:u8 data[]
//                         a child window of that class, created with the data as its text
// FORMAT, TEXT, BREAK, LINK, PICT and EMBED need an open paragraph; links do not nest, do not span
// paragraphs and are closed by the end of the region. The character format at the start of
// every region is font 0, 24 half-points, plain, black; it carries over paragraph starts.
//
// Plain text and character offsets: the plain text of a region is the bytes of its TEXT
// records in order, one '\n' for each BREAK and one '\n' between two paragraphs (none after
// the last); pictures and embedded windows add nothing. Offsets (search hits, highlights, selections) count
// bytes of that text, that is cp1251 characters.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/base/Result.h"

namespace kro::mv {

enum class Align : uint8_t { Left = 0, Centre = 1, Right = 2, Justify = 3 };

struct ParagraphFormat {
  Align align = Align::Left;
  int16_t leftIndent = 0;
  int16_t rightIndent = 0;
  int16_t firstIndent = 0;
  uint16_t spaceBefore = 0;
  uint16_t spaceAfter = 0;
  bool operator==(const ParagraphFormat&) const = default;
};

enum StyleBits : uint8_t { kBold = 1, kItalic = 2, kUnderline = 4 };

struct CharFormat {
  uint8_t font = 0;
  uint8_t halfPoints = 24;
  uint8_t style = 0;
  uint32_t colour = 0;
  bool bold() const { return style & kBold; }
  bool italic() const { return style & kItalic; }
  bool underline() const { return style & kUnderline; }
  bool operator==(const CharFormat&) const = default;
};

// Hotspot kinds as the hotspot record carries them: 0 authored command (data = command
// string), 1 jump and 2 popup (hash = target context hash, data = the context string),
// 125 jump by the context string in data.
enum class HotspotKind : uint8_t { Command = 0, Jump = 1, Popup = 2, ContextJump = 125 };

struct Hotspot {
  HotspotKind kind = HotspotKind::Command;
  uint32_t hash = 0;
  std::string_view data;
  uint32_t textBegin = 0;  // plain-text span covered by the hotspot's runs
  uint32_t textEnd = 0;
};

enum class RunKind : uint8_t { Text, LineBreak, Picture, Window };

// An embedded window's box, either side, in pixels: a window larger than a screen of the
// time is an authoring slip, not a layout to honour.
inline constexpr uint16_t kMaxEmbeddedSide = 2048;

struct Run {
  RunKind kind = RunKind::Text;
  CharFormat format;
  std::string_view text;  // Text: the characters; Picture: the baggage name; Window: its class
  std::string_view alt;   // Picture: its caption; Window: its data string
  uint16_t boxWidth = 0;  // Window: the box it takes in the text
  uint16_t boxHeight = 0;
  int32_t hotspot = -1;   // index into Region::hotspots
  uint32_t textOffset = 0;
};

struct Paragraph {
  ParagraphFormat format;
  uint32_t firstRun = 0;
  uint32_t runCount = 0;
  uint32_t textOffset = 0;
};

// A decoded region. Its views borrow the encoded bytes, which must outlive it.
struct Region {
  std::vector<Paragraph> paragraphs;
  std::vector<Run> runs;
  std::vector<Hotspot> hotspots;
  uint32_t textLength = 0;
  bool empty() const { return paragraphs.empty(); }
};

// Decodes `bytes`, which sit at `fileOffset` in their file (errors name file offsets).
// `fontCount` bounds font indexes.
Result<Region> DecodeRegion(std::span<const uint8_t> bytes, uint32_t fontCount, uint64_t fileOffset = 0);
std::string PlainText(const Region& region);

// Builds an encoded region. Text longer than a record holds is split; a format equal to
// the current one is not repeated.
class RichTextWriter {
public:
  void Paragraph(const ParagraphFormat& format);
  void Format(const CharFormat& format);
  void Text(std::string_view cp1251);
  void LineBreak();
  void BeginLink(HotspotKind kind, uint32_t hash, std::string_view data);
  void EndLink();
  void Picture(std::string_view name, std::string_view alt);
  void Window(std::string_view className, std::string_view data, uint16_t width, uint16_t height);
  bool empty() const { return bytes_.empty(); }
  std::vector<uint8_t> TakeBytes();

private:
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v);
  void U32(uint32_t v);
  void Short(std::string_view s);
  void FlushFormat();

  std::vector<uint8_t> bytes_;
  CharFormat written_;
  CharFormat wanted_;
};

}  // namespace kro::mv
