#include "app/timeline/StripBitmap_win.h"

#include <algorithm>

#include "runtime/base/FileIo_win.h"

namespace kro::timeline {
namespace {

// Frames are read in pieces no larger than this.
constexpr DWORD kReadPieceBytes = 30'000;
// A region file holds at most 65,535 records of 48 bytes after its count.
constexpr size_t kMaxRegionFileBytes = 2 + 65'535 * 48;

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

// --- rectangular view ------------------------------------------------------------------

RectView::RectView(int32_t kind, HWND window, const RECT& viewport) : kind_(kind), window_(window), viewport_(viewport) {
  if (!window) state_ = kUnusable;
}

void RectView::SetState(int32_t state, HDC dc) {
  if (!Usable() || state == state_) return;
  state_ = state;
  if (state == kHidden) {
    if (dc) {
      // Hiding shows what lies behind the view.
      InvalidateRect(window_, &viewport_, TRUE);
      UpdateWindow(window_);
    }
    return;
  }
  Paint(nullptr, window_, dc);
}

void RectView::Move(int dx, int dy, HDC dc) {
  if (!Usable() || (dx == 0 && dy == 0)) return;
  OffsetRect(&viewport_, dx, dy);
  Paint(nullptr, window_, dc);
}

void RectView::Paint(const RECT* rect, HWND window, HDC dc) {
  if (!Drawable() || window != window_ || !dc) return;
  RECT wanted;
  if (rect) wanted = *rect;
  else GetClientRect(window_, &wanted);
  if (!IntersectRect(&update_, &wanted, &viewport_)) return;
  dirty_ = true;
  Draw(dc);
}

void RectView::Redraw(const RECT* rect) {
  WindowDc dc(window_);
  Paint(rect, window_, dc.Get());
}

bool RectView::HitTest(int x, int y, HWND window) const {
  return Live() && window == window_ && PtInRect(&viewport_, POINT{x, y});
}

bool RectView::ButtonUp(int, int, HWND, int) { return false; }

bool RectView::MouseMove(int, int, WPARAM, HWND, int) { return false; }

// --- strip bitmap ------------------------------------------------------------------------

StripBitmap::StripBitmap(const StripBitmapParams& params)
    : RectView(kKind, params.window, params.viewport), params_(params),
      normalCursor_(LoadCursorA(nullptr, IDC_ARROW)), regionCursor_(normalCursor_) {
  if (!Usable()) return;
  if (!ReadHeader()) {
    state_ = kUnusable;
    return;
  }
  ReadRegions();
}

bool StripBitmap::ReadHeader() {
  UniqueFile file(CreateFileA(params_.picturePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::vector<uint8_t> start(kStripPixelsOffset);
  DWORD got = 0;
  if (!ReadFile(file.Get(), start.data(), static_cast<DWORD>(start.size()), &got, nullptr)) return false;
  start.resize(got);
  auto header = ParseStripHeader(start);
  if (!header) return false;
  const int viewportWidth = viewport_.right - viewport_.left;
  plan_ = PlanCache(header->width, header->height, header->frames, viewportWidth);
  if (!plan_) return false;
  header_ = *std::move(header);
  scroller_.emplace(header_, *plan_, viewportWidth, [this](int frame, int slot) { return LoadFrame(frame, slot); });
  return true;
}

// A damaged region file still gives the regions read before the damage.
void StripBitmap::ReadRegions() {
  regions_.clear();
  const auto bytes = ReadWholeFile(params_.regionPath, kMaxRegionFileBytes);
  if (bytes) regions_ = ParseRegions(*bytes).Recovered();
}

void StripBitmap::SetCursor(HCURSOR cursor, int which) {
  (which == 0 ? normalCursor_ : regionCursor_) = cursor;
}

// The open picture file, reopened when its handle has gone bad.
HANDLE StripBitmap::PictureFile() {
  if (file_ && SetFilePointer(file_.Get(), 0, nullptr, FILE_CURRENT) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR)
    file_.Reset();
  if (!file_)
    file_.Reset(CreateFileA(params_.picturePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  return file_ ? file_.Get() : nullptr;
}

bool StripBitmap::ReadFrame(int frame, std::vector<uint8_t>& bytes) {
  HANDLE file = PictureFile();
  if (!file) return false;
  const int64_t frameBytes = int64_t{header_.width} * header_.height;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(kStripPixelsOffset) + frame * frameBytes;
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return false;
  bytes.resize(static_cast<size_t>(frameBytes));
  for (size_t done = 0; done < bytes.size();) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(kReadPieceBytes, bytes.size() - done));
    DWORD got = 0;
    if (!ReadFile(file, bytes.data() + done, piece, &got, nullptr) || got == 0) return false;
    done += got;
  }
  return true;
}

// A frame that cannot be read leaves its slot as it was.
bool StripBitmap::LoadFrame(int frame, int slot) {
  std::vector<uint8_t> bytes;
  if (!ReadFrame(frame, bytes)) {
    ++counters_.failedReads;
    return false;
  }
  ++counters_.framesRead;
  const int64_t frameBytes = int64_t{header_.width} * header_.height;
  UniqueBitmap& held = ring_[static_cast<size_t>(slot)];
  if (held) counters_.bytesHeld -= frameBytes;
  held.Reset();  // before the new one, so the ring never holds more than its budget
  WindowDc screen(nullptr);
  PaletteGuard palette(screen.Get(), params_.palette, false);
  if (params_.palette) RealizePalette(screen.Get());
  const auto* info = reinterpret_cast<const BITMAPINFO*>(header_.frameInfo.data());
  held.Reset(CreateDIBitmap(screen.Get(), &info->bmiHeader, CBM_INIT, bytes.data(), info, DIB_RGB_COLORS));
  if (!held) return false;
  counters_.bytesHeld += frameBytes;
  counters_.peakBytesHeld = std::max(counters_.peakBytesHeld, counters_.bytesHeld);
  return true;
}

bool StripBitmap::LoadFirstFrames() {
  return scroller_ && Usable() && scroller_->LoadFirstFrames();
}

int StripBitmap::Scroll(int code, int position) {
  if (!scroller_ || !Usable()) return 0;
  const int64_t before = scroller_->PictureX();
  const int answer = scroller_->Scroll(code, position);
  if ((code >= SB_LINELEFT && code <= SB_PAGERIGHT) || (code == SB_THUMBPOSITION && scroller_->PictureX() != before))
    DrawNow();
  return answer;
}

// The whole viewport on the window's own DC.
void StripBitmap::DrawNow() {
  dirty_ = true;
  update_ = {};
  WindowDc dc(window_);
  if (dc.Get()) Draw(dc.Get());
}

void StripBitmap::Draw(HDC dc) {
  if (!Drawable() || !dirty_ || !scroller_) return;
  if (IsEmpty(update_)) GetClientRect(window_, &update_);
  IntersectRect(&update_, &update_, &viewport_);
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  if (memory) {
    RECT frameRect{0, 0, header_.width, header_.height};
    OffsetRect(&frameRect, viewport_.left - scroller_->Offset(), viewport_.top);
    const int first = scroller_->FirstVisible();
    for (int k = 0; k < scroller_->Visible(); ++k) {
      DrawFrame(dc, memory.Get(), first + k, frameRect);
      OffsetRect(&frameRect, header_.width, 0);
    }
    // A picture narrower than the viewport leaves the rest of it blank.
    RECT rest = update_;
    rest.left = std::max(rest.left, frameRect.left);
    if (!IsEmpty(rest)) PatBlt(dc, rest.left, rest.top, rest.right - rest.left, rest.bottom - rest.top, WHITENESS);
  }
  dirty_ = false;
  update_ = {};
}

// One frame's part of the update rectangle, or white when its slot does not hold it.
void StripBitmap::DrawFrame(HDC dc, HDC memory, int frame, const RECT& frameRect) {
  RECT common;
  if (!IntersectRect(&common, &frameRect, &update_)) return;
  const int width = common.right - common.left, height = common.bottom - common.top;
  const int slot = frame < header_.frames ? scroller_->SlotOf(frame) : -1;
  HBITMAP bitmap = slot >= 0 ? ring_[static_cast<size_t>(slot)].Get() : nullptr;
  if (!bitmap) {
    PatBlt(dc, common.left, common.top, width, height, WHITENESS);
    return;
  }
  SelectGuard select(memory, bitmap);
  PaletteGuard palette(dc, params_.palette, false);
  StretchBlt(dc, common.left, common.top, width, height, memory, common.left - frameRect.left,
             common.top - frameRect.top, width, height, SRCCOPY);
}

bool StripBitmap::MouseMove(int x, int y, WPARAM, HWND window, int) {
  if (!Live() || window != window_ || !PtInRect(&viewport_, POINT{x, y}) || !scroller_) return false;
  selected_ = HitRegion(regions_, scroller_->PictureX() + (x - viewport_.left), y - viewport_.top);
  ::SetCursor(selected_ >= 0 ? regionCursor_ : normalCursor_);
  return true;
}

// The click opens the region found by the last mouse move; its own point is not tested again.
bool StripBitmap::ButtonUp(int x, int y, HWND window, int) {
  if (!Live() || window != window_) return false;
  if (selected_ >= 0) PostMessageA(window_, WM_COMMAND, kRegionClicked, reinterpret_cast<LPARAM>(this));
  return PtInRect(&viewport_, POINT{x, y}) != FALSE;
}

std::optional<std::string> StripBitmap::SelectedRegionText() const {
  if (selected_ < 0 || static_cast<size_t>(selected_) >= regions_.size()) return std::nullopt;
  return regions_[static_cast<size_t>(selected_)].context;
}

}  // namespace kro::timeline
