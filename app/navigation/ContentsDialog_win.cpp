#include "app/navigation/ContentsDialog_win.h"

#include <array>
#include <memory>
#include <vector>

#include "app/article/TopicWindow_win.h"
#include "app/lists/DescribedList_win.h"
#include "app/lists/VirtualListBox_win.h"
#include "app/navigation/ContentsFilter_win.h"
#include "app/navigation/ContentsPosition.h"
#include "app/navigation/SearchFrame_win.h"
#include "app/shell/DialogKeys_win.h"
#include "app/toolkit/BitmapButton.h"

namespace kro::navigation {
namespace {

using lists::VlbRecord;
using toolkit::BitmapButtonRecord;

constexpr int kWidth = 610, kHeight = 340;
constexpr size_t kPendingLimit = 200;
constexpr size_t kKeyBytes = 512;
// Ids of the category list's group headings: they name no stored list.
constexpr int32_t kGroupIds[] = {3, 17, 23, 29, 38, 51, 60, 74, 88, 98};

struct ContentsWindow {
  HWND hwnd = nullptr;
  HWND prefix = nullptr;
  HWND list = nullptr;
  HWND box = nullptr;
  std::unique_ptr<lists::DescribedList> categories;
  std::array<BitmapButtonRecord, 4> buttons{};
  SearchFrame frame{"t_contens", "t1_contens", "contens"};
  char entry[kEntryTextBytes] = {};  // the text of every answer to the list box
  std::vector<int32_t> pending;      // category changes of the click in progress
  bool pendingAdd = true;
};

ContentsWindow gWindow;
// Kept while the dialog is closed.
bool gBoxChecked = false;
int32_t gCurrentIndex = 0;

ContentsIndex& Index() { return Contents(); }

HWND ButtonWindow(int command) {
  for (const auto& r : gWindow.buttons)
    if (r.command == command) return r.window;
  return nullptr;
}

void EnableOpen(bool enabled) { SendMessageA(ButtonWindow(kContentsOpen), BM_SETSTATE, enabled ? 1 : 0, 0); }

void Select(int32_t index) { SendMessageA(gWindow.list, lists::kVlbSetSelection, lists::kVlbItemAt, index); }

// The shown count, with the list box's own rows dropped first as the reset that follows expects.
int32_t RecountShown() {
  SendMessageA(gWindow.list, LB_RESETCONTENT, 0, 0);
  return Index().ShownCount();
}

int32_t PrefixSelection(const char* text) {
  const int32_t position = Index().PrefixPosition(text);
  return position == Index().ShownCount() ? position - 1 : position;
}

std::string PrefixText() {
  char text[kKeyBytes] = {};
  GetWindowTextA(gWindow.prefix, text, sizeof text);
  return text;
}

void Reselect() {
  RecountShown();
  SendMessageA(gWindow.list, lists::kVlbReset, 0, 0);
  const std::string text = PrefixText();
  Select(text.empty() ? -1 : PrefixSelection(text.c_str()));
}

// --- the list box's requests -----------------------------------------------------------

void AnswerItem(VlbRecord& r, int32_t index) {
  const int32_t count = Index().ShownCount();
  if (index < 0 || index >= count) {
    r.status = -1;
    return;
  }
  Index().EntryText(index, gWindow.entry, sizeof gWindow.entry);
  r.index = index;
  r.data = index;
  r.text = gWindow.entry;
  r.status = 0;
}

void AnswerItemAt(VlbRecord& r) {
  AnswerItem(r, r.data);
  if (r.status != 0) return;
  // Near the end the list box fills its page upwards: the item asked for is selected so
  // that it stays the one in view.
  const auto rows = static_cast<int32_t>(SendMessageA(gWindow.list, lists::kVlbGetVisibleRows, 0, 0));
  if (r.index > Index().ShownCount() - rows - 1) PostMessageA(gWindow.list, lists::kVlbSetSelection, lists::kVlbItemAt, r.index);
}

// Answers 1 for every request it knows; false for the others.
bool AnswerRequest(UINT request, VlbRecord& r) {
  const int32_t count = Index().ShownCount();
  switch (request) {
    case lists::kVlbFindExactRequest:
    case lists::kVlbFindRequest: AnswerItem(r, r.findString ? DecimalValue(r.findString) : -1); return true;
    case lists::kVlbGetDataRequest:
      r.status = 0;
      r.data = r.index;
      return true;
    case lists::kVlbGetTextRequest: AnswerItem(r, r.index); return true;
    case lists::kVlbFirstItem: AnswerItem(r, 0); return true;
    case lists::kVlbPreviousItem: AnswerItem(r, r.index < 1 ? -1 : r.index - 1); return true;
    case lists::kVlbNextItem: AnswerItem(r, r.index >= count - 1 ? -1 : r.index + 1); return true;
    case lists::kVlbLastItem: AnswerItem(r, count - 1); return true;
    case lists::kVlbItemAt: AnswerItemAt(r); return true;
    case lists::kVlbCountRequest:
      r.index = count;
      r.status = 0;
      return true;
    case lists::kVlbItemAtPercentage:
      // The position at that fraction of the shown list, whatever its length.
      AnswerItem(r, r.index >= 100 ? count - 1 : r.index <= 0 ? 0 : static_cast<int32_t>(int64_t{count} * r.index / 100));
      return true;
    default: return false;
  }
}

// --- categories ------------------------------------------------------------------------

bool IsGroupHeading(int32_t id) {
  for (const int32_t group : kGroupIds)
    if (group == id) return true;
  return false;
}

void ApplyPending() {
  ContentsFilter& filter = Index().Filter();
  const HMVTITLE title = Finder().title;
  for (const int32_t id : gWindow.pending) {
    if (gWindow.pendingAdd) filter.Add(title, id);
    else filter.Remove(title, id);
  }
  gWindow.pending.clear();
}

// A click that changes more than the 200 slots hold applies what it has gathered and goes
// on gathering, so no change of the click is lost.
void OnEntryChecked(int32_t id, bool checked) {
  if (IsGroupHeading(id)) return;
  if (gWindow.pending.size() == kPendingLimit) ApplyPending();
  gWindow.pending.push_back(id);
  gWindow.pendingAdd = checked;
}

void OnCheckChangeDone() {
  ApplyPending();
  Index().Filter().ApplyBox(Finder().title, gBoxChecked);
  Reselect();
}

// --- opening an entry ------------------------------------------------------------------

void ShowError(HWND hwnd, const char* text) {
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  MessageBoxA(hwnd, text, "Ошибка", MB_ICONHAND);
  shell::RegisterDialogKeys(hwnd, ButtonWindow(kContentsOpen), ButtonWindow(kContentsClose));
}

void OpenEntry(HWND hwnd) {
  char key[kKeyBytes] = {};
  if (gCurrentIndex < 0 || Index().EntryText(gCurrentIndex, key, sizeof key) != 0 || !key[0]) return;
  const HMVWORDWHEEL wheel = Index().Wheel();
  const int count = nMVKeyIndexGetCount(wheel, key) & 0xFFFF;
  if (count == 0) return;
  std::vector<LONG> addresses(count, -1);
  if (lMVKeyIndexGetAddrs(wheel, key, 0, count, addresses.data()) < 1) return;
  if (count > 1) {
    ShowError(hwnd, "Ошибка при работе с индексом");
    return;
  }
  if (Finder().recordHistory) Finder().recordHistory();
  article::ShowTopic(article::MainArticle(), vaMVConvertAddr(Finder().title, addresses[0]), 0);
}

// --- the window ------------------------------------------------------------------------

void Close(HWND hwnd) {
  EnableWindow(Finder().mainWindow, TRUE);
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  DestroyWindow(hwnd);
}

void OnOpen(HWND hwnd) {
  const auto selection = static_cast<int32_t>(SendMessageA(gWindow.list, lists::kVlbGetSelection, 0, 0));
  if (selection != -1) {
    gCurrentIndex = selection;
    OpenEntry(hwnd);
  }
  Close(hwnd);
}

void CreateChildren(HWND hwnd) {
  const FinderContext& f = Finder();
  gWindow.buttons = {toolkit::PushButtonRecord(kContentsClose, "c_cl_n", "c_cl_r", "c_cl_d", 430, 251),
                     toolkit::PushButtonRecord(kContentsOpen, "c_cr_n", "c_cr_r", "c_cr_d", 0, 250),
                     toolkit::PushButtonRecord(kContentsReset, "sbr_n", "sbr_r", "sbr_d", 282, 235), {}};
  for (auto& r : gWindow.buttons) r.cursor = r.active ? LoadCursorA(f.instance, "HAND_E") : nullptr;
  toolkit::CreateBitmapButtons(hwnd, f.instance, gWindow.buttons.data(), true);
  gWindow.prefix = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 16, 41, 266, 21, hwnd,
                                   reinterpret_cast<HMENU>(kContentsPrefix), f.instance, nullptr);
  gWindow.list = CreateWindowExA(0, lists::kVirtualListBoxClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, 16, 70,
                                 266, 170, hwnd, reinterpret_cast<HMENU>(kContentsList), f.instance, nullptr);
  gWindow.box = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE | WS_BORDER | BS_AUTOCHECKBOX, 403, 229, 14, 14,
                                hwnd, reinterpret_cast<HMENU>(kContentsBox), f.instance, nullptr);
  gWindow.categories = std::make_unique<lists::DescribedList>((f.productDir + "content1.txt").c_str(), f.instance, 295,
                                                              44, 300, 172, hwnd);
  // The filter outlives the dialog: its categories show checked again, so that what
  // narrows the list can be seen and unchecked.
  gWindow.categories->ShowChecked(Index().Filter().Checked());
}

void OnCreate(HWND hwnd) {
  const FinderContext& f = Finder();
  gWindow.hwnd = hwnd;
  EnableWindow(f.mainWindow, FALSE);
  Index().Open(f.title, f.wordWheel, f.indexDisplay);
  CreateChildren(hwnd);
  if (f.listFont) {
    SendMessageA(gWindow.list, WM_SETFONT, reinterpret_cast<WPARAM>(f.listFont), FALSE);
    SendMessageA(gWindow.prefix, WM_SETFONT, reinterpret_cast<WPARAM>(f.listFont), FALSE);
  }
  RecountShown();
  SendMessageA(gWindow.list, lists::kVlbInitialise, 0, 0);
  SendMessageA(gWindow.list, lists::kVlbReset, 0, 0);
  SendMessageA(gWindow.list, lists::kVlbSetHorizontalExtent, 128, 0);
  if (gCurrentIndex >= Index().ShownCount()) gCurrentIndex = 0;
  Select(gCurrentIndex);
  char text[kKeyBytes] = {};
  Index().EntryText(gCurrentIndex, text, sizeof text);
  SetWindowTextA(gWindow.prefix, text);
  SendMessageA(gWindow.box, BM_SETCHECK, gBoxChecked ? BST_CHECKED : BST_UNCHECKED, 0);
  EnableOpen(false);
  SetFocus(gWindow.prefix);
}

void OnPrefixChanged() {
  const std::string text = PrefixText();
  if (text.empty()) {
    Select(0);
    EnableOpen(false);
    return;
  }
  Select(PrefixSelection(text.c_str()));
  EnableOpen(true);
}

void OnListSelectionChanged() {
  EnableOpen(true);
  const auto selection = static_cast<int32_t>(SendMessageA(gWindow.list, lists::kVlbGetSelection, 0, 0));
  if (selection == -1) return;
  char text[kKeyBytes] = {};
  Index().EntryText(selection, text, sizeof text);
  SetWindowTextA(gWindow.prefix, text);
}

void OnReset() {
  Index().Filter().Reset();
  SendMessageA(gWindow.box, BM_SETCHECK, BST_UNCHECKED, 0);
  if (gWindow.categories) gWindow.categories->SetAllChecked(0);
  gBoxChecked = false;
  gWindow.pending.clear();
  Reselect();
}

void OnCommand(HWND hwnd, int id, int code) {
  switch (id) {
    case kContentsBox:
      if (code != BN_CLICKED) return;
      gBoxChecked = SendMessageA(gWindow.box, BM_GETCHECK, 0, 0) == BST_CHECKED;
      Index().Filter().ApplyBox(Finder().title, gBoxChecked);
      Reselect();
      return;
    case kContentsPrefix:
      if (code == EN_CHANGE) OnPrefixChanged();
      else if (code == EN_SETFOCUS) PostMessageA(gWindow.prefix, EM_SETSEL, 0, -1);
      return;
    case kContentsList:
      if (code == LBN_SELCHANGE) OnListSelectionChanged();
      else if (code == LBN_DBLCLK) OnOpen(hwnd);
      return;
    case kContentsOpen: OnOpen(hwnd); return;
    case kContentsClose: Close(hwnd); return;
    case kContentsReset: OnReset(); return;
    default: return;
  }
}

void OnActivate(HWND hwnd, bool active) {
  if (active) shell::RegisterDialogKeys(hwnd, ButtonWindow(kContentsOpen), ButtonWindow(kContentsClose));
  else shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  gWindow.frame.Activate(hwnd, active);
}

void OnDestroy() {
  gWindow.categories.reset();
  gWindow.pending.clear();
  gWindow.hwnd = gWindow.prefix = gWindow.list = gWindow.box = nullptr;
}

}  // namespace

LRESULT CALLBACK ContentsDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (gWindow.frame.Handle(hwnd, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam)); return 0;
    case lists::kEntryChecked: OnEntryChecked(static_cast<int32_t>(wParam), LOWORD(lParam) != 0); return 0;
    case lists::kCheckChangeDone:
      if (wParam == lists::kEntryChecked) OnCheckChangeDone();
      return 0;
    case WM_ACTIVATE: OnActivate(hwnd, Activating(wParam)); return 0;
    case WM_CLOSE: Close(hwnd); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default:
      if (message >= lists::kVlbFindExactRequest && message <= lists::kVlbItemAtPercentage && lParam &&
          AnswerRequest(message, *reinterpret_cast<VlbRecord*>(lParam)))
        return 1;
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

HWND OpenContentsDialog() {
  // Left open behind the article (a result was read meanwhile): its button fetches it.
  if (gWindow.hwnd) {
    BringWindowToTop(gWindow.hwnd);
    return gWindow.hwnd;
  }
  const RECT r = toolkit::CentredRect(kWidth, kHeight);
  return CreateWindowExA(0, kContentsDialogClass, "Содержание", WS_POPUP | WS_VISIBLE | WS_CAPTION, r.left, r.top, kWidth,
                         kHeight, Finder().mainWindow, nullptr, Finder().instance, nullptr);
}

HWND ContentsDialog() { return gWindow.hwnd; }

}  // namespace kro::navigation
