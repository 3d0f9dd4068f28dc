#include <array>
#include <string>

#include "app/navigation/ReadingDialogsShared_win.h"
#include "app/shell/DialogKeys_win.h"

namespace kro::navigation {
namespace {

using detail::Host;
using detail::MainWindow;

constexpr int kWidth = 530, kHeight = 340;
enum : int { kGo = 1, kClose = 2, kList = 100 };

struct HistoryDialogState {
  HWND hwnd = nullptr;
  HWND list = nullptr;
  toolkit::BackdropFrame frame;
  std::array<toolkit::BitmapButtonRecord, 3> buttons{};
};

HistoryDialogState gDialog;

HWND GoButton() { return gDialog.buttons[1].window; }
HWND CloseButton() { return gDialog.buttons[0].window; }

void Fill() {
  SendMessageA(gDialog.list, LB_RESETCONTENT, 0, 0);
  for (const std::string& text : Host().history().ListTexts())
    SendMessageA(gDialog.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void OnCreate(HWND hwnd) {
  gDialog.hwnd = hwnd;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
  EnableWindow(MainWindow(), FALSE);
  gDialog.frame.Load(instance, "t_way1", "t1_way1", "way1");
  gDialog.buttons = {toolkit::PushButtonRecord(kClose, "w_cl_n", "w_cl_r", "w_cl_d", 370, 251),
                     toolkit::PushButtonRecord(kGo, "w_cr_n", "w_cr_r", "w_cr_d", 0, 250), toolkit::BitmapButtonRecord{}};
  gDialog.buttons[0].cursor = LoadCursorA(instance, "HAND_E");
  toolkit::CreateBitmapButtons(hwnd, instance, gDialog.buttons.data(), true);
  gDialog.list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY,
                                 217, 41, 294, 207, hwnd, reinterpret_cast<HMENU>(kList), instance, nullptr);
  if (HFONT font = Host().listFont ? Host().listFont() : nullptr)
    SendMessageA(gDialog.list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  detail::SetButton(GoButton(), false);
  if (Host().setHistoryDialog) Host().setHistoryDialog(hwnd);
  Fill();
  SetFocus(gDialog.list);
}

void Close(HWND hwnd) {
  EnableWindow(MainWindow(), TRUE);
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  if (Host().setHistoryDialog) Host().setHistoryDialog(nullptr);
  DestroyWindow(hwnd);
  if (MainWindow()) SetFocus(MainWindow());
}

// The list is newest first: selection s is the entry count - 1 - s of the history.
void GoToSelection(HWND hwnd) {
  const LRESULT count = SendMessageA(gDialog.list, LB_GETCOUNT, 0, 0);
  const LRESULT selection = SendMessageA(gDialog.list, LB_GETCURSEL, 0, 0);
  if (selection < 0 || selection >= count) return;  // nothing chosen: nothing to go to
  const Position entry = Host().history().At(static_cast<int>(count - 1 - selection));
  Host().goTo(entry.address, entry.scroll);
  Close(hwnd);
}

void OnCommand(HWND hwnd, int id, int code) {
  switch (id) {
    case kList:
      if (code == LBN_SELCHANGE) detail::SetButton(GoButton(), true);
      else if (code == LBN_DBLCLK) GoToSelection(hwnd);
      break;
    case kGo: GoToSelection(hwnd); break;
    case kClose: Close(hwnd); break;
    default: break;
  }
}

// However the dialog goes, the main window and the dialog keys are given back.
void OnDestroy(HWND hwnd) {
  detail::GiveBack(hwnd, gDialog.frame);
  gDialog.hwnd = gDialog.list = nullptr;
}

}  // namespace

bool RegisterHistoryDialogClass(HINSTANCE instance) {
  return detail::RegisterDialogClass(instance, kHistoryDialogClass, HistoryDialogProc);
}

HWND OpenHistoryDialog(HINSTANCE instance) {
  if (!gDialog.hwnd) detail::CreateCentredDialog(instance, kHistoryDialogClass, "Путь", kWidth, kHeight);
  if (!gDialog.hwnd) return nullptr;
  BringWindowToTop(gDialog.hwnd);
  SetFocus(gDialog.list);
  return gDialog.hwnd;
}

void RefreshHistoryDialog() {
  if (gDialog.hwnd) Fill();
}

LRESULT CALLBACK HistoryDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (gDialog.frame.Handle(hwnd, message, wParam, lParam, detail::Palette(), &result)) return result;
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CLOSE: Close(hwnd); return 0;
    case WM_ACTIVATE: detail::OnActivate(hwnd, wParam, GoButton(), CloseButton(), gDialog.frame); return 0;
    case WM_DESTROY: OnDestroy(hwnd); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace kro::navigation
