#include "runtime/mediaview/win32/display/GdiMeasurer.h"

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/base/Cp1251.h"

namespace kro::mvdll::display {
namespace {

// Faces a title names but the machine lacks fall back to this one (installed with the
// product fonts), then to whatever serif face GDI finds.
constexpr char kFallbackFace[] = "PT Serif";

}  // namespace

GdiMeasurer::GdiMeasurer(HDC dc, const mv::Title& title, PictureCache& pictures, LONG kerningPoints)
    : dc_(dc), title_(title), pictures_(pictures), dpi_(std::max(1, GetDeviceCaps(dc, LOGPIXELSY))),
      kerningPoints_(kerningPoints) {}

HFONT GdiMeasurer::Font(const mv::CharFormat& format) { return Find(format).font.Get(); }

const mv::layout::FontMetrics& GdiMeasurer::Metrics(const mv::CharFormat& format) { return Find(format).metrics; }

GdiMeasurer::Entry& GdiMeasurer::Find(const mv::CharFormat& format) {
  const uint32_t key = (uint32_t{format.font} << 16) | (uint32_t{format.halfPoints} << 8) | format.style;
  auto& slot = fonts_[key];
  if (slot) return *slot;
  slot = std::make_unique<Entry>();
  std::string face = kFallbackFace;
  if (const auto info = title_.Font(format.font); info && !info->face.empty())
    face.assign(info->face.data(), std::min<size_t>(info->face.size(), LF_FACESIZE - 1));
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(format.halfPoints, dpi_, 144);
  lf.lfWeight = format.bold() ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = format.italic();
  lf.lfUnderline = format.underline();
  lf.lfCharSet = RUSSIAN_CHARSET;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lf.lfQuality = ANTIALIASED_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  slot->font.Reset(CreateFontIndirectA(&lf));

  SelectGuard select(dc_, slot->font.Get());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc_, &tm);
  mv::layout::FontMetrics& m = slot->metrics;
  m.ascent = tm.tmAscent;
  m.descent = tm.tmDescent;
  m.leading = tm.tmExternalLeading;
  INT widths[256] = {};
  if (!GetCharWidth32A(dc_, 0, 255, widths)) {
    SIZE size{};
    GetTextExtentPoint32A(dc_, "x", 1, &size);
    std::fill(std::begin(widths), std::end(widths), size.cx);
  }
  for (int c = 0; c < 256; ++c) m.advance[c] = static_cast<int16_t>(std::clamp(widths[c], 0, 0x7FFF));
  if (kerningPoints_ > 0 && format.halfPoints >= 2 * kerningPoints_) ReadKerning(&m);
  return *slot;
}

// The selected font's kerning pairs between cp1251 characters. The pairs are read in
// Unicode and mapped to the code page: the ANSI call answers in another code page on
// some systems.
void GdiMeasurer::ReadKerning(mv::layout::FontMetrics* m) const {
  const DWORD count = GetKerningPairsW(dc_, 0, nullptr);
  if (count == 0 || count > 0x10000) return;
  std::vector<KERNINGPAIR> pairs(count);
  const DWORD got = GetKerningPairsW(dc_, count, pairs.data());
  for (DWORD i = 0; i < got && i < count; ++i) {
    const auto first = Cp1251FromCodePoint(pairs[i].wFirst), second = Cp1251FromCodePoint(pairs[i].wSecond);
    if (first && second && pairs[i].iKernAmount != 0)
      m->kerning.emplace_back(static_cast<uint16_t>(*first << 8 | *second),
                              static_cast<int16_t>(std::clamp(pairs[i].iKernAmount, -0x7FFF, 0x7FFF)));
  }
  std::sort(m->kerning.begin(), m->kerning.end());
  m->kerning.erase(std::unique(m->kerning.begin(), m->kerning.end(),
                               [](const auto& a, const auto& b) { return a.first == b.first; }),
                   m->kerning.end());
}

mv::layout::Size GdiMeasurer::PictureSize(std::string_view name) {
  const Picture* p = pictures_.Get(title_, name);
  if (!p) return {};
  // Pictures are authored for a 96-dpi screen; a printer scales them to the same size on paper.
  return {MulDiv(p->width, dpi_, 96), MulDiv(p->height, dpi_, 96)};
}

}  // namespace kro::mvdll::display
