#include "app/timeline/TimelineWindow_win.h"

#include <array>
#include <memory>

#include "app/shell/DialogKeys_win.h"
#include "app/timeline/StripBitmap_win.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/BitmapDrawing.h"
#include "app/toolkit/ProgramInstance.h"

namespace kro::timeline {
namespace {

constexpr int kFrameWidth = 640, kFrameHeight = 480;
constexpr int kCaptionStrip = 20;
constexpr RECT kStripRect{21, 3, 21 + 598, 3 + 416};
constexpr RECT kViewport{0, 0, 598, 400};

// One timeline at a time: its windows, picture and host live here while it is open.
struct TimelineState {
  HWND owner = nullptr;
  HWND frame = nullptr;
  HWND strip = nullptr;
  std::unique_ptr<StripBitmap> picture;
  TimelineHost host;
  bool captionActive = false;
  std::array<toolkit::BitmapButtonRecord, 2> buttons{};
};

TimelineState gTimeline;
int gSavedPosition = 0;  // kept for the process: where the last article was chosen

void PrepareCloseButton() {
  toolkit::BitmapButtonRecord& close = gTimeline.buttons[0];
  close = {};
  close.active = toolkit::kCreateButton;
  close.kind = toolkit::kPushButton;
  close.command = kCmdCloseTimeline;
  close.normalName = "t_cl_n";
  close.pressedName = "t_cl_r";
  close.disabledName = "t_cl_n";
  close.cursor = gTimeline.host.regionCursor;
  close.left = 590;
  close.top = 421;
  gTimeline.buttons[1] = {};
}

// --- frame -------------------------------------------------------------------------------

void DrawCaption(HWND frame) {
  HDC dc = GetWindowDC(frame);
  if (!dc) return;
  toolkit::DrawBitmapResource(dc, gTimeline.captionActive ? "capon" : "capof", 0, 0);
  ReleaseDC(frame, dc);
}

// Only the caption strip stays outside the client area, as in the main window.
LRESULT OnNcCalcSize(HWND frame, WPARAM wParam, LPARAM lParam) {
  DefWindowProcA(frame, WM_NCCALCSIZE, wParam, lParam);
  RECT& client = *reinterpret_cast<RECT*>(lParam);
  const TimelineHost& h = gTimeline.host;
  client.top += kCaptionStrip - h.captionHeight - h.frameHeight;
  client.left -= h.frameWidth;
  client.right += h.frameWidth;
  client.bottom += h.frameHeight;
  return 0;
}

void OnFrameCreate(HWND frame) {
  gTimeline.frame = frame;
  PrepareCloseButton();
  toolkit::CreateBitmapButtons(frame, toolkit::ProgramInstance(), gTimeline.buttons.data(), true);
  EnableWindow(gTimeline.owner, FALSE);
}

void OnFrameActivate(HWND frame, WPARAM wParam) {
  gTimeline.captionActive = LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE;
  if (gTimeline.captionActive) shell::RegisterDialogKeys(frame, nullptr, gTimeline.buttons[0].window);
  else if (shell::RegisteredDialog() == frame) shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  SendMessageA(frame, WM_NCPAINT, 1, 0);
  if (gTimeline.owner) SendMessageA(gTimeline.owner, WM_NCPAINT, 1, 0);
}

void OnFramePaint(HWND frame) {
  if (!IsIconic(frame)) DrawCaption(frame);
  PaintGuard paint(frame);
  toolkit::DrawBitmapResource(paint.Dc(), "timeline", 0, 0);
}

// Every way of closing gives the owner its input back.
void CloseTimeline(HWND frame) {
  EnableWindow(gTimeline.owner, TRUE);
  DestroyWindow(frame);
}

void OpenRegionArticle(HWND frame, StripBitmap* picture) {
  if (!picture || picture != gTimeline.picture.get()) return;
  const auto context = picture->SelectedRegionText();
  if (!context) return;
  gSavedPosition = GetScrollPos(gTimeline.strip, SB_HORZ);
  if (gTimeline.host.openArticle) gTimeline.host.openArticle(context->c_str());
  CloseTimeline(frame);
}

LRESULT OnFrameCommand(HWND frame, WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == kCmdCloseTimeline) CloseTimeline(frame);
  else if (wParam == kRegionClicked) OpenRegionArticle(frame, reinterpret_cast<StripBitmap*>(lParam));
  return 0;
}

void OnFrameDestroy() {
  if (shell::RegisteredDialog() == gTimeline.frame) shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  gTimeline.frame = nullptr;
  if (gTimeline.owner) SetFocus(gTimeline.owner);
}

// WM_NCPAINT and WM_NCACTIVATE: the caption strip instead of the system's caption.
LRESULT OnFrameNonClient(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsIconic(frame)) return DefWindowProcA(frame, message, wParam, lParam);
  DrawCaption(frame);
  return message == WM_NCACTIVATE && wParam == 0 ? 1 : 0;
}

// --- strip -------------------------------------------------------------------------------

void OnStripPaint(HWND strip) {
  PaintGuard paint(strip);
  if (gTimeline.picture) gTimeline.picture->Paint(&paint.Dirty(), strip, paint.Dc());
}

// The thumb moves the picture when it is let go; while it is dragged the answer puts it
// back where the picture is.
void OnStripScroll(HWND strip, WPARAM wParam) {
  if (!gTimeline.picture) return;
  const int position = gTimeline.picture->Scroll(LOWORD(wParam), HIWORD(wParam));
  SetScrollPos(strip, SB_HORZ, position, TRUE);
}

// The picture, its regions and the place it opens at.
void BuildPicture(HWND strip) {
  StripBitmapParams params;
  params.window = strip;
  params.viewport = kViewport;
  params.picturePath = gTimeline.host.productDir + "timeline\\timeline.bmp";
  params.regionPath = gTimeline.host.productDir + "timeline\\timeline.rhs";
  gTimeline.picture = std::make_unique<StripBitmap>(params);
  gTimeline.picture->SetCursor(LoadCursorA(nullptr, IDC_ARROW), 0);
  gTimeline.picture->SetCursor(gTimeline.host.regionCursor, 1);
  gTimeline.picture->LoadFirstFrames();
  SetScrollRange(strip, SB_HORZ, 0, kScrollMax, TRUE);
  SetScrollPos(strip, SB_HORZ, gTimeline.picture->Scroll(SB_THUMBPOSITION, gSavedPosition), FALSE);
}

}  // namespace

LRESULT CALLBACK TimelineFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnFrameCreate(hwnd); return 0;
    case WM_DESTROY: OnFrameDestroy(); return 0;
    case WM_ACTIVATE: OnFrameActivate(hwnd, wParam); return 0;
    case WM_PAINT: OnFramePaint(hwnd); return 0;
    case WM_ERASEBKGND: return 0;
    case WM_CLOSE: CloseTimeline(hwnd); return 0;
    case WM_NCPAINT:
    case WM_NCACTIVATE: return OnFrameNonClient(hwnd, message, wParam, lParam);
    case WM_NCCALCSIZE:
      return IsIconic(hwnd) ? DefWindowProcA(hwnd, message, wParam, lParam) : OnNcCalcSize(hwnd, wParam, lParam);
    case WM_COMMAND: return OnFrameCommand(hwnd, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK TimelineStripProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_PAINT: OnStripPaint(hwnd); return 0;
    case WM_ERASEBKGND: return 0;
    case WM_DESTROY:
      gTimeline.picture.reset();
      gTimeline.strip = nullptr;
      return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_COMMAND: SendMessageA(GetParent(hwnd), WM_COMMAND, wParam, lParam); return 0;
    case WM_HSCROLL: OnStripScroll(hwnd, wParam); return 0;
    case WM_MOUSEMOVE:
      if (gTimeline.picture) gTimeline.picture->MouseMove(x, y, wParam, hwnd, 1);
      break;
    case WM_LBUTTONUP:
      if (gTimeline.picture) gTimeline.picture->ButtonUp(x, y, hwnd, 1);
      break;
    default: break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool OpenTimeline(HWND owner, const TimelineHost& host) {
  if (gTimeline.frame) {
    SetForegroundWindow(gTimeline.frame);
    return true;
  }
  gTimeline.owner = owner;
  gTimeline.host = host;
  const HINSTANCE instance = toolkit::ProgramInstance();
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kFrameWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kFrameHeight) / 2;
  HWND frame = CreateWindowExA(0, kTimelineFrameClass, "TimeLine", WS_POPUP | WS_VISIBLE | WS_CAPTION, x, y,
                               kFrameWidth, kFrameHeight, owner, nullptr, instance, nullptr);
  if (!frame) {
    EnableWindow(owner, TRUE);
    return false;
  }
  HWND strip = CreateWindowExA(0, kTimelineStripClass, "", WS_CHILD | WS_HSCROLL, kStripRect.left, kStripRect.top,
                               kStripRect.right - kStripRect.left, kStripRect.bottom - kStripRect.top, frame, nullptr,
                               instance, nullptr);
  if (!strip) {
    CloseTimeline(frame);
    return false;
  }
  gTimeline.strip = strip;
  ShowScrollBar(strip, SB_HORZ, TRUE);
  BuildPicture(strip);
  ShowWindow(strip, SW_SHOW);
  return true;
}

HWND TimelineStrip() { return gTimeline.strip; }

int SavedTimelinePosition() { return gSavedPosition; }

}  // namespace kro::timeline
