#include "runtime/mediaview/win32/display/Painter.h"

#include <algorithm>
#include <string>

#include "runtime/base/UniqueHandle_win.h"

namespace kro::mvdll::display {
namespace L = mv::layout;
namespace {

constexpr uint8_t kSoftHyphen = 0xAD;

}  // namespace

bool IsDark(COLORREF colour) {
  return (GetRValue(colour) * 30 + GetGValue(colour) * 59 + GetBValue(colour) * 11) / 100 < 96;
}

namespace {

RECT Device(const PaintJob& job, const L::Rect& r) {
  return {r.left + job.origin.x, r.top + job.origin.y, r.right + job.origin.x, r.bottom + job.origin.y};
}

// Partly visible lines of text are hidden when asked; a picture shows what fits of it.
bool Shown(const PaintJob& job, const L::Line& line) {
  return line.bottom() + job.origin.y <= job.visibleBottom || line.top + job.origin.y <= job.frameTop || line.hasPicture;
}

void FillRects(HDC dc, const PaintJob& job, const std::vector<L::Rect>& rects, COLORREF colour) {
  if (rects.empty()) return;
  UniqueBrush brush(CreateSolidBrush(colour));
  for (const L::Rect& r : rects) {
    RECT d = Device(job, r);
    if (d.bottom > job.visibleBottom && d.top > job.frameTop) continue;
    if (IntersectRect(&d, &d, &job.clip)) FillRect(dc, &d, brush.Get());
  }
}

class TextPainter {
public:
  TextPainter(HDC dc, const PaintJob& job) : dc_(dc), job_(job) {}

  void Fragment(const L::Line& line, const L::Fragment& f) {
    const mv::Run& run = job_.layout->region().runs[f.run];
    const int baseline = job_.origin.y + line.top + line.baseline;
    const int x = job_.origin.x + f.x;
    if (run.kind == mv::RunKind::Picture) {
      if (const Picture* p = job_.measurer->FindPicture(run.text)) DrawPicture(dc_, *p, {x, baseline - f.height, x + f.width, baseline});
      return;
    }
    if (run.kind == mv::RunKind::Window) return;  // the window paints itself; without one the box stays empty
    Collect(run, f);
    if (text_.empty()) return;
    SelectGuard font(dc_, job_.measurer->Font(run.format));
    COLORREF colour = run.format.colour;
    if (colour == 0 && job_.defaultText != CLR_INVALID) colour = job_.defaultText;
    if (job_.darkText != CLR_INVALID && IsDark(colour)) colour = job_.darkText;
    SetTextColor(dc_, colour);
    ExtTextOutA(dc_, x, baseline, 0, nullptr, text_.data(), static_cast<UINT>(text_.size()), dx_.data());
  }

private:
  // The fragment's characters as drawn, each with the advance the layout gave it: soft
  // hyphens vanish, a tab shows as space, and a break at a soft hyphen adds a hyphen.
  void Collect(const mv::Run& run, const L::Fragment& f) {
    const L::TextLayout& layout = *job_.layout;
    const int hyphen = f.hyphen ? job_.measurer->Metrics(run.format).advance['-'] : 0;
    text_.clear();
    dx_.clear();
    for (uint32_t i = f.textBegin; i < f.textEnd; ++i) {
      const auto c = static_cast<uint8_t>(run.text[i - run.textOffset]);
      const int right = i + 1 < f.textEnd ? layout.CharLeft(i + 1) : f.x + f.width - hyphen;
      const int advance = right - layout.CharLeft(i);
      if (c == kSoftHyphen) {
        if (!dx_.empty()) dx_.back() += advance;
        continue;
      }
      text_.push_back(c == '\t' ? ' ' : static_cast<char>(c));
      dx_.push_back(advance);
    }
    if (f.hyphen) {
      text_.push_back('-');
      dx_.push_back(hyphen);
    }
  }

  HDC dc_;
  const PaintJob& job_;
  std::string text_;
  std::vector<INT> dx_;
};

}  // namespace

void PaintLayout(HDC dc, const PaintJob& job) {
  const L::TextLayout& layout = *job.layout;
  if (job.background != CLR_INVALID) {
    UniqueBrush brush(CreateSolidBrush(job.background));
    FillRect(dc, &job.clip, brush.Get());
  }
  const int top = job.clip.top - job.origin.y;
  const int bottom = job.clip.bottom - job.origin.y;
  std::vector<L::Rect> marks;
  for (const L::TextRange& h : job.highlights) {
    const auto rects = layout.RangeRects(h.begin, h.end);
    marks.insert(marks.end(), rects.begin(), rects.end());
  }
  FillRects(dc, job, marks, kHighlightColour);
  FillRects(dc, job, layout.RangeRects(job.selection.begin, job.selection.end), kSelectionColour);

  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  TextPainter painter(dc, job);
  const auto lines = layout.lines();
  for (uint32_t i = layout.LineAt(top); i < lines.size() && lines[i].top < bottom; ++i) {
    if (!Shown(job, lines[i])) break;
    for (const L::Fragment& f : layout.FragmentsOf(lines[i])) painter.Fragment(lines[i], f);
  }
  SetTextAlign(dc, oldAlign);
  SetBkMode(dc, oldMode);

  if (job.focus < 0) return;
  UniqueBrush gold(CreateSolidBrush(kFocusColour));
  for (const L::HotspotRect& h : layout.hotspotRects()) {
    if (h.hotspot != job.focus) continue;
    RECT d = Device(job, h.rect);
    InflateRect(&d, 1, 0);
    FrameRect(dc, &d, gold.Get());
  }
}

}  // namespace kro::mvdll::display
