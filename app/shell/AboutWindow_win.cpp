#include "app/shell/AboutWindow_win.h"

#include <array>

#include "app/article/Pane_win.h"
#include "app/article/TopicWindow_win.h"
#include "app/shell/Cursors_win.h"
#include "app/shell/DialogKeys_win.h"
#include "app/shell/Program_win.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/BitmapDrawing.h"
#include "app/toolkit/PaintedFrame.h"

namespace kro::shell {
namespace {

constexpr int kCloseCommand = 2;
constexpr int kCreditsKind = 1, kCreditsFlags = 2;

struct AboutState {
  HWND hwnd = nullptr;
  HWND pane = nullptr;
  toolkit::PaintedFrame frame;
  UniqueBitmap captionOn, captionOff;
};

AboutState gAbout;
std::array<toolkit::BitmapButtonRecord, 2> gCloseButton;

void CreateCloseButton(HWND hwnd) {
  toolkit::BitmapButtonRecord& r = gCloseButton[0];
  r = {};
  r.active = toolkit::kCreateButton;
  r.kind = toolkit::kPushButton;
  r.command = kCloseCommand;
  r.normalName = "a_cl_n";
  r.pressedName = "a_cl_r";
  r.disabledName = "a_cl_n";
  r.cursor = Cursors().handE;
  r.left = 520;
  r.top = 380;
  gCloseButton[1] = {};
  toolkit::CreateBitmapButtons(hwnd, TheProgram().instance, gCloseButton.data(), true);
  SendMessageA(r.window, BM_SETSTATE, 1, 0);
}

void CreateCreditsPane(HWND hwnd) {
  const Program& program = TheProgram();
  gAbout.pane = article::CreatePane(hwnd, program.instance, program.title, kCreditsKind, kCreditsFlags, nullptr);
  if (!gAbout.pane) return;
  article::SetDisplayLook(article::PaneDisplay(gAbout.pane));
  // A title without the topic gives -1, which the jump hands on: the window opens all the same.
  article::PaneJump(gAbout.pane, vaMVConvertContextString(program.title, "credits"), 0);
  const RECT& r = kCreditsPane;
  MoveWindow(gAbout.pane, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  article::RealizePane(gAbout.pane, nullptr);
  ShowWindow(gAbout.pane, SW_SHOW);
}

void OnCreate(HWND hwnd) {
  gAbout.hwnd = hwnd;
  gAbout.captionOn.Reset(LoadBitmapA(TheProgram().instance, "capbaron"));
  gAbout.captionOff.Reset(LoadBitmapA(TheProgram().instance, "capbarof"));
  gAbout.frame = {gAbout.captionOn.Get(), gAbout.captionOff.Get(), false};
  EnableWindow(TheProgram().mainWindow, FALSE);
  CreateCloseButton(hwnd);
  CreateCreditsPane(hwnd);
  SetFocus(hwnd);
}

void OnActivate(HWND hwnd, WPARAM wParam) {
  gAbout.frame.isActive = LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE;
  if (gAbout.frame.isActive)
    RegisterDialogKeys(hwnd, nullptr, gCloseButton[0].window);
  else
    RegisterDialogKeys(nullptr, nullptr, nullptr);
  SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  SendMessageA(TheProgram().mainWindow, WM_NCPAINT, 1, 0);
}

void OnPaint(HWND hwnd) {
  toolkit::DrawTitleBar(hwnd, gAbout.frame);
  PaintGuard paint(hwnd);
  toolkit::DrawBitmapResource(paint.Dc(), "about", 0, 0);
}

void Close(HWND hwnd) {
  const HWND main = TheProgram().mainWindow;
  EnableWindow(main, TRUE);
  RegisterDialogKeys(nullptr, nullptr, nullptr);
  if (gAbout.pane) article::DestroyPane(gAbout.pane);
  gAbout.pane = nullptr;
  DestroyWindow(hwnd);
  SetFocus(main);
}

void OnDestroy() {
  gAbout.frame = {};
  gAbout.captionOn.Reset();
  gAbout.captionOff.Reset();
  gAbout.hwnd = nullptr;
}

}  // namespace

LRESULT CALLBACK AboutWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (toolkit::HandleFrameMessage(hwnd, message, wParam, lParam, gAbout.frame, &result)) return result;
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_ACTIVATE: OnActivate(hwnd, wParam); return 0;
    case WM_PAINT:
      if (IsIconic(hwnd)) break;
      OnPaint(hwnd);
      return 0;
    case WM_ERASEBKGND: return 0;
    case WM_CLOSE: Close(hwnd); return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCloseCommand) Close(hwnd);
      return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND OpenAboutWindow() {
  if (gAbout.hwnd) return gAbout.hwnd;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kAboutWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kAboutHeight) / 2;
  return CreateWindowExA(0, kAboutClass, "О программе", WS_POPUP | WS_VISIBLE | WS_CAPTION, x, y, kAboutWidth,
                         kAboutHeight, TheProgram().mainWindow, nullptr, TheProgram().instance, nullptr);
}

}  // namespace kro::shell
