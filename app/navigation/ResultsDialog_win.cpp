#include "app/navigation/ResultsDialog_win.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "app/article/TopicWindow_win.h"
#include "app/lists/DescribedList_win.h"
#include "app/navigation/SearchFrame_win.h"
#include "app/navigation/SearchState_win.h"
#include "app/shell/DialogKeys_win.h"
#include "app/toolkit/BitmapButton.h"

namespace kro::navigation {
namespace {

using toolkit::BitmapButtonRecord;

constexpr int kWidth = 530, kHeight = 340;

struct ResultsWindow {
  HWND hwnd = nullptr;
  HWND list = nullptr;
  HWND query = nullptr;
  HWND count = nullptr;
  std::array<BitmapButtonRecord, 3> buttons{};
  SearchFrame frame{"t_result", "t1_result", "result"};
};

ResultsWindow gWindow;
// Kept for the rest of the run.
int32_t gSelection = 0;
RECT gRect{};
bool gRectKept = false;
int gExportCounter = 0;

HWND ButtonWindow(int command) {
  for (const auto& r : gWindow.buttons)
    if (r.command == command) return r.window;
  return nullptr;
}

HWND& ProgramHandle() {
  static HWND none = nullptr;
  return Finder().resultsDialog ? *Finder().resultsDialog : none;
}

// The list, the open button and the count field from the result list; false when cut.
bool Fill(HWND list, HWND openButton, HWND countField) {
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  const HMVTOPICLIST results = Search().results;
  if (!results) {
    SetWindowTextA(countField, "0");
    SendMessageA(openButton, BM_SETSTATE, 0, 0);
    return true;
  }
  LONG n = std::max<LONG>(lMVTopicListLength(results), 0);
  const bool cut = n > kResultLimit;
  if (cut) n = kResultLimit;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  for (LONG i = 0; i < n; ++i) {
    char title[MV_TOPIC_TITLE_BYTES * 2] = {};
    lMVTitleGetInfo(Finder().title, MV_INFO_TOPIC_TITLE, lMVTopicListLookup(results, i), title);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  SendMessageA(openButton, BM_SETSTATE, n != 0 ? 1 : 0, 0);
  char text[16];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(n));
  SetWindowTextA(countField, text);
  return !cut;
}

void Close(HWND hwnd) {
  EnableWindow(Finder().mainWindow, TRUE);
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  GetWindowRect(hwnd, &gRect);
  gRectKept = true;
  ProgramHandle() = nullptr;
  DestroyWindow(hwnd);
  SetFocus(Finder().mainWindow);
}

void OnOpen(HWND hwnd) {
  const auto selection = static_cast<int32_t>(SendMessageA(gWindow.list, LB_GETCURSEL, 0, 0));
  if (selection >= 0 && Search().results) {
    gSelection = selection;
    const LONG address =
        vaMVConvertTopicNumber(Finder().title, lMVTopicListLookup(Search().results, selection));
    if (Finder().recordHistory) Finder().recordHistory();
    article::TopicRecord* main = article::MainArticle();
    article::ShowTopic(main, address, 0);
    ScrollToHighlight(article::MainDisplay(main), 0);
  }
  Close(hwnd);
}

HWND Child(HWND parent, const char* cls, DWORD style, int x, int y, int w, int h, int id) {
  return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, reinterpret_cast<HMENU>(id),
                         Finder().instance, nullptr);
}

void OnCreate(HWND hwnd) {
  const FinderContext& f = Finder();
  gWindow.hwnd = hwnd;
  EnableWindow(f.mainWindow, FALSE);
  gWindow.buttons = {toolkit::PushButtonRecord(kResultsClose, "r_cl_n", "r_cl_r", "r_cl_d", 370, 251),
                     toolkit::PushButtonRecord(kResultsOpen, "r_cr_n", "r_cr_r", "r_cr_d", 0, 250), {}};
  gWindow.buttons[0].cursor = LoadCursorA(f.instance, "HAND_E");
  toolkit::CreateBitmapButtons(hwnd, f.instance, gWindow.buttons.data(), true);
  gWindow.list = Child(hwnd, "LISTBOX", WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 217, 41, 294, 207, kResultsList);
  gWindow.query = Child(hwnd, "Static", SS_CENTER | WS_BORDER, 18, 41, 190, 21, kResultsQuery);
  gWindow.count = Child(hwnd, "Static", SS_CENTER | WS_BORDER, 128, 83, 79, 21, kResultsCount);
  if (f.listFont)
    for (HWND child : {gWindow.list, gWindow.query, gWindow.count})
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(f.listFont), FALSE);
  SetWindowTextA(gWindow.query, Search().lastQuery);
  if (gRectKept)
    MoveWindow(hwnd, gRect.left, gRect.top, gRect.right - gRect.left, gRect.bottom - gRect.top, FALSE);
  ProgramHandle() = hwnd;
  Fill(gWindow.list, ButtonWindow(kResultsOpen), gWindow.count);
  if (!Search().resultsAvailable) gSelection = 0;
  SendMessageA(gWindow.list, LB_SETCURSEL, gSelection, 0);
  SetFocus(gWindow.list);
}

void OnCommand(HWND hwnd, int id, int code) {
  switch (id) {
    case kResultsList:
      if (code == LBN_DBLCLK) OnOpen(hwnd);
      return;
    case kResultsOpen: OnOpen(hwnd); return;
    case kResultsClose: Close(hwnd); return;
    default: return;
  }
}

void OnActivate(HWND hwnd, bool active) {
  if (active) shell::RegisterDialogKeys(hwnd, ButtonWindow(kResultsOpen), ButtonWindow(kResultsClose));
  else shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  gWindow.frame.Activate(hwnd, active);
}

void OnExport() {
  lists::ExportListText(Finder().workingDir, gExportCounter, gWindow.list);
  ++gExportCounter;
}

}  // namespace

LRESULT CALLBACK ResultsDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (gWindow.frame.Handle(hwnd, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam)); return 0;
    case shell::kMsgExportResults: OnExport(); return 0;
    case WM_ACTIVATE: OnActivate(hwnd, Activating(wParam)); return 0;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(Finder().whiteBrush ? Finder().whiteBrush : GetStockObject(WHITE_BRUSH));
    case WM_CLOSE: Close(hwnd); return 0;
    case WM_DESTROY:
      // Also when the main window closes the dialog itself.
      if (ProgramHandle() == hwnd) ProgramHandle() = nullptr;
      gWindow.hwnd = nullptr;
      return 0;
    case WM_NCDESTROY:
      gWindow = ResultsWindow{};
      return DefWindowProcA(hwnd, message, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

HWND OpenResultsDialog() {
  HWND dialog = ProgramHandle();
  if (!dialog) {
    const RECT r = toolkit::CentredRect(kWidth, kHeight);
    dialog = CreateWindowExA(0, kResultsDialogClass, "Резльтаты поиска", WS_POPUP | WS_VISIBLE | WS_CAPTION, r.left, r.top,
                             kWidth, kHeight, Finder().mainWindow, nullptr, Finder().instance, nullptr);
    if (!dialog) return nullptr;
  }
  BringWindowToTop(dialog);
  SetFocus(GetDlgItem(dialog, kResultsList));
  return dialog;
}

HWND ResultsOpenButton() { return ButtonWindow(kResultsOpen); }
HWND ResultsCloseButton() { return ButtonWindow(kResultsClose); }

void SetResultsQuery(const char* query) {
  if (gWindow.query) SetWindowTextA(gWindow.query, query);
}

bool FillResults() {
  if (!gWindow.hwnd) return true;
  return Fill(gWindow.list, ButtonWindow(kResultsOpen), gWindow.count);
}

}  // namespace kro::navigation
