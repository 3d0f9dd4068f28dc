#include "runtime/mediaview/win32/display/Copy.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/base/Cp1251.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::mvdll::display {
namespace {

HGLOBAL Block(const void* data, size_t bytes, size_t nulBytes) {
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes + nulBytes));
  if (!block) return nullptr;
  void* p = GlobalLock(block.Get());
  if (!p) return nullptr;
  if (bytes) std::memcpy(p, data, bytes);
  GlobalUnlock(block.Get());
  return block.Release();
}

class RtfWriter {
public:
  RtfWriter(const mv::Title& title, const mv::Region& region) : title_(title), region_(region) {}

  std::string Write(uint32_t begin, uint32_t end) {
    std::string body;
    bool first = true;
    for (size_t p = 0; p < region_.paragraphs.size(); ++p) {
      const mv::Paragraph& para = region_.paragraphs[p];
      const uint32_t paraEnd = p + 1 < region_.paragraphs.size() ? region_.paragraphs[p + 1].textOffset : region_.textLength;
      if (paraEnd <= begin || para.textOffset >= end) continue;
      if (!first) body += "\\par\n";
      first = false;
      ParagraphProps(para.format, &body);
      for (uint32_t r = para.firstRun; r < para.firstRun + para.runCount; ++r) RunText(region_.runs[r], begin, end, &body);
    }
    std::string doc = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl";
    for (uint32_t f = 0; f < std::max(1u, title_.fontCount()); ++f) {
      const auto font = title_.Font(f);
      doc += "{\\f" + std::to_string(f) + "\\fnil\\fcharset204 ";
      if (font) Escape(std::string(font->face.substr(0, font->face.find('\0'))), &doc);
      doc += ";}";
    }
    doc += "}{\\colortbl;";
    for (uint32_t c : colours_) {
      char entry[48];
      std::snprintf(entry, sizeof entry, "\\red%u\\green%u\\blue%u;", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
      doc += entry;
    }
    return doc + "}\n" + body + "}";
  }

private:
  static void ParagraphProps(const mv::ParagraphFormat& f, std::string* out) {
    static const char* const kAlign[] = {"\\ql", "\\qc", "\\qr", "\\qj"};
    *out += "\\pard";
    *out += kAlign[static_cast<int>(f.align)];
    *out += "\\li" + std::to_string(f.leftIndent) + "\\ri" + std::to_string(f.rightIndent) + "\\fi" +
            std::to_string(f.firstIndent) + "\\sb" + std::to_string(f.spaceBefore) + "\\sa" +
            std::to_string(f.spaceAfter) + " ";
  }

  void RunText(const mv::Run& run, uint32_t begin, uint32_t end, std::string* out) {
    const bool textual = run.kind == mv::RunKind::Text || run.kind == mv::RunKind::LineBreak;
    const uint32_t length = textual ? static_cast<uint32_t>(run.text.size()) : 0;
    const uint32_t b = std::max(begin, run.textOffset), e = std::min(end, run.textOffset + length);
    if (b >= e) return;
    if (run.kind == mv::RunKind::LineBreak) {
      *out += "\\line ";
      return;
    }
    const mv::CharFormat& f = run.format;
    *out += "{\\f" + std::to_string(f.font) + "\\fs" + std::to_string(f.halfPoints) + "\\cf" +
            std::to_string(ColourIndex(f.colour));
    if (f.bold()) *out += "\\b";
    if (f.italic()) *out += "\\i";
    if (f.underline()) *out += "\\ul";
    *out += " ";
    Escape(run.text.substr(b - run.textOffset, e - b), out);
    *out += "}";
  }

  size_t ColourIndex(uint32_t colour) {
    const auto it = std::find(colours_.begin(), colours_.end(), colour);
    if (it != colours_.end()) return static_cast<size_t>(it - colours_.begin()) + 1;
    colours_.push_back(colour);
    return colours_.size();
  }

  static void Escape(std::string_view text, std::string* out) {
    for (const char ch : text) {
      const auto c = static_cast<uint8_t>(ch);
      if (c == '\\' || c == '{' || c == '}') {
        *out += '\\';
        *out += ch;
      } else if (c == '\t') {
        *out += "\\tab ";
      } else if (c == 0xAD) {
        *out += "\\-";
      } else if (c >= 0x80) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\'%02x", c);
        *out += hex;
      } else {
        *out += ch;
      }
    }
  }

  const mv::Title& title_;
  const mv::Region& region_;
  std::vector<uint32_t> colours_;
};

}  // namespace

std::string ClipboardText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    if (static_cast<uint8_t>(c) != 0xAD) out += c;
  }
  return out;
}

HGLOBAL AnsiBlock(std::string_view cp1251) { return Block(cp1251.data(), cp1251.size(), 1); }

HGLOBAL UnicodeBlock(std::string_view cp1251) {
  std::vector<wchar_t> wide;
  wide.reserve(cp1251.size());
  for (const char c : cp1251) wide.push_back(static_cast<wchar_t>(Cp1251ToCodePoint(static_cast<uint8_t>(c))));
  return Block(wide.data(), wide.size() * sizeof(wchar_t), sizeof(wchar_t));
}

std::string Rtf(const mv::Title& title, const mv::Region& region, uint32_t begin, uint32_t end) {
  return RtfWriter(title, region).Write(begin, end);
}

}  // namespace kro::mvdll::display
