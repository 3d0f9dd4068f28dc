#include "runtime/quicktime/win32/Controller_win.h"

#include <windowsx.h>

#include <algorithm>

namespace kro::qt {
namespace {

// The reference work's palette: navy bar, parchment glyphs and text, slate track, gold thumb.
constexpr COLORREF kNavy = RGB(0x1F, 0x2A, 0x44);
constexpr COLORREF kSlate = RGB(0x3B, 0x4A, 0x6B);
constexpr COLORREF kParchment = RGB(0xF4, 0xEE, 0xDC);
constexpr COLORREF kGold = RGB(0xC9, 0xA2, 0x27);
// A sound-only movie has no picture to give the bar its width.
constexpr int kMinBarWidth = 160;

RECT ToRect(const BarBox& box) { return {box.left, box.top, box.right, box.bottom}; }

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void DrawPlayGlyph(HDC dc, const BarBox& b, bool playing) {
  const int cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
  if (playing) {  // pause: two bars
    Fill(dc, {cx - 4, cy - 5, cx - 1, cy + 5}, kParchment);
    Fill(dc, {cx + 1, cy - 5, cx + 4, cy + 5}, kParchment);
    return;
  }
  const POINT triangle[] = {{cx - 3, cy - 5}, {cx - 3, cy + 5}, {cx + 4, cy}};
  SelectGuard pen(dc, GetStockObject(NULL_PEN));
  SelectGuard brush(dc, GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc, kParchment);
  Polygon(dc, triangle, 3);
}

}  // namespace

Controller::Controller(MovieHandle movie, const RECT& movieRect, uint32_t flags, HWND window,
                       MovieLookup findMovie, Wic& wic)
    : movie_(movie), movieRect_(movieRect), flags_(flags), window_(window),
      findMovie_(std::move(findMovie)), wic_(wic),
      font_(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_SWISS, "PT Sans")) {
  const RECT bounds = Bounds();
  InvalidateRect(window_, &bounds, FALSE);
}

Controller::~Controller() {
  if (timerRunning_) KillTimer(window_, kTimerId);
  if (Movie* movie = TheMovie()) movie->Stop();  // nothing would drive it any more
}

RECT Controller::MovieArea() const {
  const Movie* movie = TheMovie();
  int width = movieRect_.right - movieRect_.left, height = movieRect_.bottom - movieRect_.top;
  if (!(flags_ & kFlagScaleToFit) && movie) {
    width = movie->Width();
    height = movie->Height();
  }
  int left = movieRect_.left, top = movieRect_.top;
  if (!(flags_ & kFlagTopLeftMovie)) {  // centred in the rectangle given
    left += std::max<int>(0, (movieRect_.right - movieRect_.left - width) / 2);
    top += std::max<int>(0, (movieRect_.bottom - movieRect_.top - height) / 2);
  }
  return {left, top, left + width, top + height};
}

BarLayout Controller::Bar() const {
  const RECT area = MovieArea();
  return LayoutBar(area.left, area.bottom, std::max<int>(area.right - area.left, kMinBarWidth));
}

RECT Controller::Bounds() const {
  RECT bounds = MovieArea();
  if (BarVisible()) {
    const RECT bar = ToRect(Bar().bar);
    UnionRect(&bounds, &bounds, &bar);
  }
  return bounds;
}

int32_t Controller::DoAction(int32_t action, uintptr_t parameter) {
  Movie* movie = TheMovie();
  if (!movie) return kErrBadHandle;
  switch (action) {
    case kActionPlay:
      Play(static_cast<int32_t>(parameter) > 0);  // any forward rate plays at normal speed
      return kErrNone;
    case kActionGoToTime: {
      const auto* record = reinterpret_cast<const TimeRecord*>(parameter);
      if (!record) return kErrBadParameter;
      const uint64_t value = uint64_t(record->valueHigh) << 32 | record->valueLow;
      const uint32_t scale = record->scale ? record->scale : movie->TimeScale();
      const uint64_t time = value / scale * movie->TimeScale() + value % scale * movie->TimeScale() / scale;
      Seek(uint32_t(std::min<uint64_t>(time, movie->Duration())));
      return kErrNone;
    }
    case kActionKeysEnabled:
      keysEnabled_ = parameter != 0;
      return kErrNone;
    case kActionPrepare:
    case kActionSetGrowBounds:
      return kErrNone;  // accepted for the callers that send them; nothing to do here
    default:
      return kErrBadSelector;
  }
}

void Controller::Play(bool play) {
  Movie* movie = TheMovie();
  if (play) {
    movie->Play();
  } else {
    movie->Stop();
  }
  if (movie->Playing() && !timerRunning_) {
    timerRunning_ = SetTimer(window_, kTimerId, kTimerMilliseconds, nullptr) != 0;
  } else if (!movie->Playing() && timerRunning_) {
    KillTimer(window_, kTimerId);
    timerRunning_ = false;
  }
  WindowDc dc(window_);
  Redraw(dc.Get(), false);
}

void Controller::Seek(uint32_t time) {
  TheMovie()->SetTime(time);
  WindowDc dc(window_);
  Redraw(dc.Get(), true);
}

void Controller::OnTimer() {
  Movie* movie = TheMovie();
  if (!movie) {
    KillTimer(window_, kTimerId);
    timerRunning_ = false;
    return;
  }
  movie->Tick();
  WindowDc dc(window_);
  Redraw(dc.Get(), false);
  if (!movie->Playing()) {
    KillTimer(window_, kTimerId);
    timerRunning_ = false;
  }
}

void Controller::OnPaint() {
  PaintGuard paint(window_);
  shownSample_ = -1;
  shownThumb_ = -1;
  Redraw(paint.Dc(), true);
}

// Draws what changed since the last time: the frame when another sample is due, the bar
// when the thumb, the second shown or the play state moved.
void Controller::Redraw(HDC dc, bool movieToo) {
  Movie* movie = TheMovie();
  if (!movie) return;
  const uint32_t time = movie->Time();
  const int64_t sample = movie->SampleAt(time);
  if (movieToo || sample != shownSample_) {
    DrawMovie(dc);
    shownSample_ = sample;
  }
  if (!BarVisible()) return;
  const int thumb = ThumbLeft(Bar(), time, movie->Duration());
  const uint32_t second = movie->TimeScale() ? time / movie->TimeScale() : 0;
  if (movieToo || thumb != shownThumb_ || second != shownSecond_ || movie->Playing() != shownPlaying_) {
    DrawBar(dc);
    if (second != shownSecond_) ShowTimeInText();
    shownThumb_ = thumb;
    shownSecond_ = second;
    shownPlaying_ = movie->Playing();
  }
}

void Controller::DrawMovie(HDC dc) {
  Movie* movie = TheMovie();
  const RECT area = MovieArea();
  if (IsRectEmpty(&area)) return;
  if (const Bitmap* frame = movie->FrameAt(movie->Time(), wic_)) {
    DrawBitmap(dc, *frame, area);
  } else {
    Fill(dc, area, RGB(0, 0, 0));
  }
}

// Drawn off screen and copied in one go, so the bar never flickers while it plays.
void Controller::DrawBar(HDC dc) {
  Movie* movie = TheMovie();
  const BarLayout bar = Bar();
  const int width = bar.bar.right - bar.bar.left, height = bar.bar.bottom - bar.bar.top;
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
  if (!memory || !bitmap) return;
  SelectGuard selectBitmap(memory.Get(), bitmap.Get());
  SetViewportOrgEx(memory.Get(), -bar.bar.left, -bar.bar.top, nullptr);
  HDC m = memory.Get();
  Fill(m, ToRect(bar.bar), kNavy);
  Fill(m, {bar.bar.left, bar.bar.top, bar.bar.right, bar.bar.top + 1}, kGold);  // rule under the picture
  DrawPlayGlyph(m, bar.button, movie->Playing());
  Fill(m, ToRect(bar.track), kSlate);
  const int thumb = ThumbLeft(bar, movie->Time(), movie->Duration());
  Fill(m, {thumb, bar.bar.top + 2, thumb + kThumbWidth, bar.bar.bottom - 2}, kGold);
  SelectGuard selectFont(m, font_.Get());
  SetBkMode(m, TRANSPARENT);
  SetTextColor(m, kParchment);
  const std::string text = ElapsedText(movie->Time(), movie->TimeScale());
  RECT textRect = ToRect(bar.text);
  DrawTextA(m, text.c_str(), int(text.size()), &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SetViewportOrgEx(m, 0, 0, nullptr);
  BitBlt(dc, bar.bar.left, bar.bar.top, width, height, m, 0, 0, SRCCOPY);
}

// The window's text repeats the bar's time with the duration ("0:03 / 0:05"): the bar is
// drawn, not a control, and this is how screen readers and other programs can read it.
void Controller::ShowTimeInText() {
  const Movie* movie = TheMovie();
  const std::string text =
      ElapsedText(movie->Time(), movie->TimeScale()) + " / " + ElapsedText(movie->Duration(), movie->TimeScale());
  SetWindowTextA(window_, text.c_str());
}

bool Controller::OnButtonDown(int x, int y) {
  if (!BarVisible()) return false;
  const BarLayout bar = Bar();
  if (!bar.bar.Contains(x, y)) return false;
  Movie* movie = TheMovie();
  if (bar.button.Contains(x, y)) {
    Play(!movie->Playing());
  } else if (x >= bar.track.left && x < bar.track.right) {
    dragging_ = true;
    SetCapture(window_);
    Seek(TimeAtX(bar, x, movie->Duration()));
  }
  return true;  // the whole bar is ours
}

bool Controller::IsPlayerEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != window_ || !TheMovie()) return false;
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return true;
    case WM_TIMER:
      if (wParam != kTimerId) return false;
      OnTimer();
      return true;
    case WM_LBUTTONDOWN:
      return OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_MOUSEMOVE:
      if (!dragging_) return false;
      Seek(TimeAtX(Bar(), GET_X_LPARAM(lParam), TheMovie()->Duration()));
      return true;
    case WM_LBUTTONUP:
      if (!dragging_) return false;
      dragging_ = false;
      ReleaseCapture();
      return true;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return false;
    case WM_KEYDOWN:
      if (!keysEnabled_ || wParam != VK_SPACE) return false;
      Play(!TheMovie()->Playing());
      return true;
    default:
      return false;
  }
}

}  // namespace kro::qt
