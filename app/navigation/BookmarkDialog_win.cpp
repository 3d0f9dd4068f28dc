#include <array>
#include <string>
#include <vector>

#include "app/navigation/ReadingDialogsShared_win.h"
#include "app/shell/DialogKeys_win.h"

namespace kro::navigation {
namespace {

using detail::Host;
using detail::MainWindow;

constexpr int kWidth = 530, kHeight = 340;
constexpr int kFieldBytes = 512;  // what the name field is read with
enum : int { kClose = 2, kDelete = 1043, kAdd = 1056, kGo = 1072, kList = 100, kField = 101 };

struct BookmarkDialogState {
  HWND hwnd = nullptr;
  HWND list = nullptr;
  HWND field = nullptr;
  toolkit::BackdropFrame frame;
  std::array<toolkit::BitmapButtonRecord, 5> buttons{};
};

BookmarkDialogState gDialog;

HWND ButtonOf(int command) {
  for (const auto& r : gDialog.buttons)
    if (r.active == toolkit::kCreateButton && r.command == command) return r.window;
  return nullptr;
}

LRESULT Count() { return SendMessageA(gDialog.list, LB_GETCOUNT, 0, 0); }
LRESULT Selection() { return SendMessageA(gDialog.list, LB_GETCURSEL, 0, 0); }

void UpdateButtons() {
  const bool chosen = Count() > 0 && Selection() >= 0;
  detail::SetButton(ButtonOf(kDelete), chosen);
  detail::SetButton(ButtonOf(kGo), chosen);
}

void ShowListIfAny() { ShowWindow(gDialog.list, Count() > 0 ? SW_SHOW : SW_HIDE); }

void CreateChildren(HWND hwnd, HINSTANCE instance) {
  gDialog.buttons = {toolkit::PushButtonRecord(kClose, "m_cl_n", "m_cl_r", "m_cl_d", 370, 251),
                     toolkit::PushButtonRecord(kGo, "m_cr_n", "m_cr_r", "m_cr_d", 0, 251),
                     toolkit::PushButtonRecord(kAdd, "m_add_n", "m_add_r", "m_add_d", 0, 110),
                     toolkit::PushButtonRecord(kDelete, "m_del_n", "m_del_r", "m_del_d", 0, 182), toolkit::BitmapButtonRecord{}};
  gDialog.buttons[0].cursor = LoadCursorA(instance, "HAND_E");
  toolkit::CreateBitmapButtons(hwnd, instance, gDialog.buttons.data(), true);
  gDialog.field = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 18, 41, 190, 21, hwnd,
                                  reinterpret_cast<HMENU>(kField), instance, nullptr);
  gDialog.list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 216, 40, 296, 210,
                                 hwnd, reinterpret_cast<HMENU>(kList), instance, nullptr);
  if (HFONT font = Host().listFont ? Host().listFont() : nullptr) {
    SendMessageA(gDialog.list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(gDialog.field, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

void OnCreate(HWND hwnd) {
  gDialog.hwnd = hwnd;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
  EnableWindow(MainWindow(), FALSE);
  gDialog.frame.Load(instance, "t_b_mark", "t1_b_mark", "b_mark");
  CreateChildren(hwnd, instance);
  detail::SetButton(ButtonOf(kAdd), false);
  for (const std::string& name : Host().bookmarks().Names())
    SendMessageA(gDialog.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  if (Count() > 0) SendMessageA(gDialog.list, LB_SETCURSEL, 0, 0);
  UpdateButtons();
  ShowListIfAny();
  SetFocus(gDialog.field);
}

std::string FieldText() {
  char text[kFieldBytes] = {};
  SendMessageA(gDialog.field, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// The box is modal: the dialog keys are released while it is up.
void TooMany(HWND hwnd) {
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  MessageBoxA(hwnd, "Слишком много закладок!", "Ошибка", MB_ICONHAND);
  if (GetActiveWindow() == hwnd) shell::RegisterDialogKeys(hwnd, ButtonOf(kAdd), ButtonOf(kClose));
}

void OnAdd(HWND hwnd) {
  const std::string name = FieldText();
  if (name.empty()) return;  // Enter in an empty field: the add button is disabled
  if (!Host().bookmarks().Add(name, BookmarkEntry(Host().mainPosition()))) {
    TooMany(hwnd);
  } else {
    SendMessageA(gDialog.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (Selection() < 0) SendMessageA(gDialog.list, LB_SETCURSEL, 0, 0);
  }
  UpdateButtons();
  ShowListIfAny();
}

// The selection moves to the bookmark before the deleted one, or stays on the first.
void OnDelete() {
  const LRESULT selection = Selection();
  if (selection < 0) return;
  SendMessageA(gDialog.list, LB_DELETESTRING, selection, 0);
  Host().bookmarks().Delete(static_cast<int>(selection));
  if (Count() > 0) SendMessageA(gDialog.list, LB_SETCURSEL, selection > 0 ? selection - 1 : 0, 0);
  UpdateButtons();
  ShowListIfAny();
}

std::vector<std::string> ListNames() {
  std::vector<std::string> names;
  for (LRESULT i = 0, count = Count(); i < count; ++i) {
    const LRESULT length = SendMessageA(gDialog.list, LB_GETTEXTLEN, i, 0);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    SendMessageA(gDialog.list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    names.push_back(std::move(text));
  }
  return names;
}

void Close(HWND hwnd) {
  EnableWindow(MainWindow(), TRUE);
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  const std::vector<std::string> names = ListNames();
  Host().bookmarks().SetNames(names);
  DestroyWindow(hwnd);
}

void OnGo(HWND hwnd) {
  const LRESULT selection = Selection();
  if (selection < 0 || selection > Host().bookmarks().Last()) return;
  const HistoryEntry entry = Host().bookmarks().At(static_cast<int>(selection)).entry;
  Host().goTo(entry.address, entry.scroll);
  Close(hwnd);
}

void OnCommand(HWND hwnd, int id, int code) {
  switch (id) {
    case kList:
      if (code == LBN_SELCHANGE) UpdateButtons();
      else if (code == LBN_DBLCLK) OnGo(hwnd);
      break;
    case kField:
      if (code == EN_CHANGE) detail::SetButton(ButtonOf(kAdd), !FieldText().empty());
      break;
    case kAdd: OnAdd(hwnd); break;
    case kDelete: OnDelete(); break;
    case kGo: OnGo(hwnd); break;
    case kClose: Close(hwnd); break;
    default: break;
  }
}

void OnDestroy(HWND hwnd) {
  detail::GiveBack(hwnd, gDialog.frame);
  gDialog.hwnd = gDialog.list = gDialog.field = nullptr;
}

}  // namespace

bool RegisterBookmarkDialogClass(HINSTANCE instance) {
  return detail::RegisterDialogClass(instance, kBookmarkDialogClass, BookmarkDialogProc);
}

HWND OpenBookmarkDialog(HINSTANCE instance) {
  if (gDialog.hwnd) {
    BringWindowToTop(gDialog.hwnd);
    return gDialog.hwnd;
  }
  return detail::CreateCentredDialog(instance, kBookmarkDialogClass, "Закладки", kWidth, kHeight);
}

LRESULT CALLBACK BookmarkDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (gDialog.frame.Handle(hwnd, message, wParam, lParam, detail::Palette(), &result)) return result;
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CLOSE: Close(hwnd); return 0;
    case WM_ACTIVATE: detail::OnActivate(hwnd, wParam, ButtonOf(kAdd), ButtonOf(kClose), gDialog.frame); return 0;
    case WM_DESTROY: OnDestroy(hwnd); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace kro::navigation
