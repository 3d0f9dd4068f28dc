#include "app/article/PicturePopup_win.h"

#include "app/movies/QuickTime.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::article {
namespace {

constexpr DWORD kPopupStyle = WS_POPUP | WS_BORDER | WS_SYSMENU;
constexpr DWORD kCaptionStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                                ES_CENTER | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_READONLY;
// The frame: one border pixel on each side, the caption strip below the picture.
constexpr int kFrameExtraWidth = 2;
constexpr int kFrameExtraHeight = kPopupCaptionHeight + 2;
// The caption fits without its scroll bar when the strip is wider by more than this.
constexpr int kCaptionSlack = 5;

// One popup at a time: its owner is disabled while it is open.
struct PopupState {
  PicturePopupHost host;
  HINSTANCE instance = nullptr;
  HWND popup = nullptr;
  HWND edit = nullptr;
  HWND owner = nullptr;
  PictureHandle picture{};
  std::string caption;
  UniqueHook hook;
};

PopupState gPopup;

HFONT CaptionFont() { return gPopup.host.captionFont ? gPopup.host.captionFont() : nullptr; }
HPALETTE Palette() { return gPopup.host.palette ? gPopup.host.palette() : nullptr; }

int TextWidth(HWND edit, HFONT font, const std::string& text) {
  WindowDc dc(edit);
  SelectGuard select(dc.Get(), font);
  SIZE size{};
  GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void FillCaption(HWND edit) {
  HFONT font = CaptionFont();
  if (font) SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowTextA(edit, gPopup.caption.c_str());
  RECT client;
  GetClientRect(edit, &client);
  if (client.right - TextWidth(edit, font, gPopup.caption) > kCaptionSlack) ShowScrollBar(edit, SB_VERT, FALSE);
  HideCaret(edit);
}

void OnCreate(HWND hwnd) {
  gPopup.popup = hwnd;
  RECT client;
  GetClientRect(hwnd, &client);
  gPopup.edit = CreateWindowExA(0, "Edit", "", kCaptionStyle, 0, client.bottom - kPopupCaptionHeight, client.right,
                                kPopupCaptionHeight, hwnd, nullptr, gPopup.instance, nullptr);
  gPopup.hook.Reset(SetWindowsHookExA(WH_GETMESSAGE, EditHookProc, nullptr, GetCurrentThreadId()));
  EnableWindow(gPopup.owner, FALSE);
  if (gPopup.edit) FillCaption(gPopup.edit);
}

void Close(HWND hwnd) {
  EnableWindow(gPopup.owner, TRUE);
  DestroyWindow(hwnd);
}

void OnDestroy() {
  EnableWindow(gPopup.owner, TRUE);
  if (gPopup.picture) ReleasePicture(gPopup.picture);
  gPopup.picture = {};
  if (gPopup.edit) ShowCaret(gPopup.edit);
  gPopup.hook.Reset();
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  if (gPopup.owner) SetFocus(gPopup.owner);
  gPopup.popup = gPopup.edit = gPopup.owner = nullptr;
  gPopup.caption.clear();
}

void OnSetFocus() {
  if (!gPopup.edit) return;
  SetFocus(gPopup.edit);
  HideCaret(gPopup.edit);
}

void OnPaint(HWND hwnd) {
  PaintGuard paint(hwnd);
  PaletteGuard palette(paint.Dc(), Palette(), false);
  if (Palette()) RealizePalette(paint.Dc());
  RECT picture;
  GetClientRect(hwnd, &picture);
  picture.bottom -= kPopupCaptionHeight;
  if (gPopup.picture && picture.bottom > 0) DrawPicture(paint.Dc(), gPopup.picture, &picture, nullptr);
}

// Inside the place where the main window has its close button, measured from this
// window's corner; the comparisons are strict, as the main window's are.
bool InCloseButton(HWND hwnd, LPARAM lParam) {
  RECT window;
  GetWindowRect(hwnd, &window);
  const int x = static_cast<short>(LOWORD(lParam)) - window.left, y = static_cast<short>(HIWORD(lParam)) - window.top;
  const PicturePopupHost& h = gPopup.host;
  return h.closeLeft < x && x < h.closeRight && h.closeTop < y && y < h.closeBottom;
}

LRESULT OnPaletteMessage(HWND hwnd) {
  HPALETTE palette = Palette();
  if (!palette) return 0;
  WindowDc dc(hwnd);
  if (GetSystemPaletteUse(dc.Get()) != SYSPAL_STATIC) {
    UnrealizeObject(palette);
    SetSystemPaletteUse(dc.Get(), SYSPAL_STATIC);
  }
  PaletteGuard select(dc.Get(), palette, false);
  const UINT changed = RealizePalette(dc.Get());
  InvalidateRect(hwnd, nullptr, FALSE);
  return changed;
}

}  // namespace

void SetPicturePopupHost(const PicturePopupHost& host) { gPopup.host = host; }

bool RegisterPicturePopupClass(HINSTANCE instance, HCURSOR cursor) {
  gPopup.instance = instance;
  WNDCLASSA wc{};
  wc.lpfnWndProc = PicturePopupProc;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kPicturePopupClass;
  return RegisterClassA(&wc) != 0;
}

HWND OpenPicturePopup(HWND owner, const std::string& picturePath, const std::string& caption) {
  if (gPopup.popup) DestroyWindow(gPopup.popup);
  PictureFileHandle file{};
  if (OpenPictureFile(picturePath.c_str(), &file, 0) != 0) return nullptr;
  const PictureHandle picture = GetPictureFromFile(file);
  ClosePictureFile(file);
  qt::PictureInfo info{};
  info.recordSize = sizeof info;
  if (!picture || GetPictureInfo(picture, &info) != 0) {
    if (picture) ReleasePicture(picture);
    return nullptr;
  }
  gPopup.picture = picture;
  gPopup.caption = caption;
  gPopup.owner = owner;
  const int width = info.width + kFrameExtraWidth, height = info.height + kFrameExtraHeight;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND popup = CreateWindowExA(0, kPicturePopupClass, "", kPopupStyle, x, y, width, height, owner, nullptr,
                               gPopup.instance, nullptr);
  if (!popup) {
    OnDestroy();  // a failed creation still gives back the owner and the picture
    return nullptr;
  }
  ShowWindow(popup, SW_SHOW);
  UpdateWindow(popup);
  return popup;
}

HWND PicturePopup() { return gPopup.popup; }

LRESULT CALLBACK PicturePopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_PAINT: OnPaint(hwnd); return 0;
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_RBUTTONDOWN:
    case WM_CLOSE: Close(hwnd); return 0;
    case WM_SYSKEYDOWN:
      if (wParam != VK_ESCAPE) break;
      Close(hwnd);
      return 0;
    case WM_NCLBUTTONDOWN:
      if (!InCloseButton(hwnd, lParam)) break;
      Close(hwnd);
      return 0;
    case WM_QUERYNEWPALETTE: return OnPaletteMessage(hwnd);
    case WM_PALETTECHANGED: return reinterpret_cast<HWND>(wParam) == hwnd ? 0 : OnPaletteMessage(hwnd);
    case WM_DESTROY: OnDestroy(); return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace kro::article

LRESULT CALLBACK EditHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  const auto& popup = kro::article::gPopup;
  // Only a message taken off the queue counts: a peek that leaves it there comes back.
  if (code == HC_ACTION && wParam == PM_REMOVE && message && popup.edit && message->hwnd == popup.edit &&
      (message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN) && message->wParam == VK_ESCAPE)
    PostMessageA(popup.popup, WM_SYSKEYDOWN, VK_ESCAPE, 0);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
