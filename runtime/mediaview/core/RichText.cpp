#include "runtime/mediaview/core/RichText.h"

#include <algorithm>

#include "runtime/base/ByteReader.h"
#include "runtime/mediaview/core/TitleFormat.h"

namespace kro::mv {
namespace {

enum Op : uint8_t { kPara = 1, kFormat = 2, kText = 3, kBreak = 4, kLink = 5, kEnd = 6, kPict = 7, kEmbed = 8 };
constexpr uint16_t kMaxTextRecord = 0xFFFF;

class Decoder {
public:
  Decoder(std::span<const uint8_t> bytes, uint64_t fileOffset, uint32_t fontCount, Region* out)
      : in_(bytes, fileOffset), fontCount_(fontCount), out_(out) {}

  // The fault of the first malformed record, or nullopt.
  std::optional<ParseError> Run() {
    while (in_.ok() && in_.remaining() > 0) {
      const size_t at = in_.offset();
      const uint8_t op = in_.U8();
      if (const char* cause = Record(op)) in_.FailAt(at, ParseCause::BadValue, std::string("rich text: ") + cause);
    }
    if (!in_.ok()) return in_.error().cause == ParseCause::Truncated ? in_.Error("rich text record") : in_.error();
    if (linkOpen_) CloseLink();
    return std::nullopt;
  }

  uint32_t textLength() const { return textLength_; }

private:
  // Returns the cause of a malformed record, or nullptr.
  const char* Record(uint8_t op) {
    if (op != kPara && out_->paragraphs.empty()) return "content before the first paragraph";
    switch (op) {
      case kPara: return Para();
      case kFormat: return Format();
      case kText: return Text();
      case kBreak: AddRun(RunKind::LineBreak, "\n", {}); return nullptr;
      case kLink: return Link();
      case kEnd:
        if (!linkOpen_) return "link end without a link";
        CloseLink();
        return nullptr;
      case kPict: return Picture();
      case kEmbed: return Embed();
      default: return "unknown record";
    }
  }

  const char* Para() {
    if (linkOpen_) return "paragraph inside a link";
    ParagraphFormat f;
    const uint8_t align = in_.U8();
    f.leftIndent = static_cast<int16_t>(in_.U16());
    f.rightIndent = static_cast<int16_t>(in_.U16());
    f.firstIndent = static_cast<int16_t>(in_.U16());
    f.spaceBefore = in_.U16();
    f.spaceAfter = in_.U16();
    if (!in_.ok()) return nullptr;
    if (align > static_cast<uint8_t>(Align::Justify)) return "bad alignment";
    f.align = static_cast<Align>(align);
    if (!out_->paragraphs.empty()) ++textLength_;  // the paragraph break
    Paragraph p;
    p.format = f;
    p.firstRun = static_cast<uint32_t>(out_->runs.size());
    p.textOffset = textLength_;
    out_->paragraphs.push_back(p);
    return nullptr;
  }

  const char* Format() {
    CharFormat f;
    f.font = in_.U8();
    f.halfPoints = in_.U8();
    f.style = in_.U8();
    f.colour = in_.U32();
    if (!in_.ok()) return nullptr;
    if (f.font >= fontCount_) return "font index outside the font table";
    if (f.halfPoints < 2) return "font size too small";
    if (f.style & ~(kBold | kItalic | kUnderline)) return "unknown style bits";
    if (f.colour > 0xFFFFFF) return "bad colour";
    format_ = f;
    return nullptr;
  }

  const char* Text() {
    const uint16_t length = in_.U16();
    const std::string_view text = in_.Text(length);
    if (!in_.ok()) return nullptr;
    if (length == 0) return "empty text record";
    for (const char c : text)
      if (static_cast<uint8_t>(c) < 0x20 && c != '\t') return "control byte in text";
    AddRun(RunKind::Text, text, {});
    return nullptr;
  }

  const char* Link() {
    if (linkOpen_) return "nested link";
    Hotspot h;
    h.kind = static_cast<HotspotKind>(in_.U8());
    h.hash = in_.U32();
    h.data = in_.Text(in_.U8());
    h.textBegin = textLength_;
    if (!in_.ok()) return nullptr;
    out_->hotspots.push_back(h);
    linkOpen_ = true;
    return nullptr;
  }

  const char* Picture() {
    const std::string_view name = in_.Text(in_.U8());
    const std::string_view alt = in_.Text(in_.U8());
    if (!in_.ok()) return nullptr;
    if (name.empty()) return "picture without a name";
    AddRun(RunKind::Picture, name, alt);
    return nullptr;
  }

  const char* Embed() {
    const uint16_t width = in_.U16();
    const uint16_t height = in_.U16();
    const std::string_view className = in_.Text(in_.U8());
    const std::string_view data = in_.Text(in_.U8());
    if (!in_.ok()) return nullptr;
    if (width == 0 || height == 0 || width > kMaxEmbeddedSide || height > kMaxEmbeddedSide)
      return "embedded window size out of range";
    if (className.empty()) return "embedded window without a class";
    AddRun(RunKind::Window, className, data);
    out_->runs.back().boxWidth = width;
    out_->runs.back().boxHeight = height;
    return nullptr;
  }

  void AddRun(RunKind kind, std::string_view text, std::string_view alt) {
    mv::Run r;
    r.kind = kind;
    r.format = format_;
    r.text = text;
    r.alt = alt;
    r.hotspot = linkOpen_ ? static_cast<int32_t>(out_->hotspots.size() - 1) : -1;
    r.textOffset = textLength_;
    if (kind == RunKind::Text || kind == RunKind::LineBreak) textLength_ += static_cast<uint32_t>(text.size());
    out_->runs.push_back(r);
    ++out_->paragraphs.back().runCount;
  }

  void CloseLink() {
    out_->hotspots.back().textEnd = textLength_;
    linkOpen_ = false;
  }

  ByteReader in_;
  uint32_t fontCount_;
  Region* out_;
  CharFormat format_;
  bool linkOpen_ = false;
  uint32_t textLength_ = 0;
};

}  // namespace

Result<Region> DecodeRegion(std::span<const uint8_t> bytes, uint32_t fontCount, uint64_t fileOffset) {
  Region region;
  Decoder decoder(bytes, fileOffset, fontCount, &region);
  if (auto fault = decoder.Run()) return *std::move(fault);
  region.textLength = decoder.textLength();
  return region;
}

std::string PlainText(const Region& region) {
  std::string text;
  text.reserve(region.textLength);
  for (size_t p = 0; p < region.paragraphs.size(); ++p) {
    if (p > 0) text.push_back('\n');
    const Paragraph& para = region.paragraphs[p];
    for (uint32_t r = para.firstRun; r < para.firstRun + para.runCount; ++r)
      if (const Run& run = region.runs[r]; run.kind == RunKind::Text || run.kind == RunKind::LineBreak)
        text.append(run.text);
  }
  return text;
}

void RichTextWriter::U16(uint16_t v) {
  U8(static_cast<uint8_t>(v));
  U8(static_cast<uint8_t>(v >> 8));
}

void RichTextWriter::U32(uint32_t v) {
  U16(static_cast<uint16_t>(v));
  U16(static_cast<uint16_t>(v >> 16));
}

void RichTextWriter::Short(std::string_view s) {
  const size_t n = std::min<size_t>(s.size(), 255);
  U8(static_cast<uint8_t>(n));
  bytes_.insert(bytes_.end(), s.begin(), s.begin() + static_cast<ptrdiff_t>(n));
}

void RichTextWriter::Paragraph(const ParagraphFormat& f) {
  U8(kPara);
  U8(static_cast<uint8_t>(f.align));
  U16(static_cast<uint16_t>(f.leftIndent));
  U16(static_cast<uint16_t>(f.rightIndent));
  U16(static_cast<uint16_t>(f.firstIndent));
  U16(f.spaceBefore);
  U16(f.spaceAfter);
}

// Formats are written lazily, just before the run they apply to, so a format set and then
// replaced before any text costs nothing.
void RichTextWriter::Format(const CharFormat& format) { wanted_ = format; }

void RichTextWriter::FlushFormat() {
  if (wanted_ == written_) return;
  U8(kFormat);
  U8(wanted_.font);
  U8(wanted_.halfPoints);
  U8(wanted_.style);
  U32(wanted_.colour);
  written_ = wanted_;
}

void RichTextWriter::Text(std::string_view text) {
  while (!text.empty()) {
    FlushFormat();
    const size_t n = std::min<size_t>(text.size(), kMaxTextRecord);
    U8(kText);
    U16(static_cast<uint16_t>(n));
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<ptrdiff_t>(n));
    text.remove_prefix(n);
  }
}

void RichTextWriter::LineBreak() { U8(kBreak); }

void RichTextWriter::BeginLink(HotspotKind kind, uint32_t hash, std::string_view data) {
  U8(kLink);
  U8(static_cast<uint8_t>(kind));
  U32(hash);
  Short(data);
}

void RichTextWriter::EndLink() { U8(kEnd); }

void RichTextWriter::Picture(std::string_view name, std::string_view alt) {
  FlushFormat();
  U8(kPict);
  Short(name);
  Short(alt);
}

void RichTextWriter::Window(std::string_view className, std::string_view data, uint16_t width, uint16_t height) {
  FlushFormat();
  U8(kEmbed);
  U16(width);
  U16(height);
  Short(className);
  Short(data);
}

std::vector<uint8_t> RichTextWriter::TakeBytes() {
  written_ = wanted_ = CharFormat{};
  return std::move(bytes_);
}

}  // namespace kro::mv
