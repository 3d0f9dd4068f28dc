#include "app/navigation/SearchDialog_win.h"

#include <array>
#include <string>
#include <vector>

#include "app/article/TopicWindow_win.h"
#include "app/lists/ComboBox_win.h"
#include "app/navigation/ResultsDialog_win.h"
#include "app/navigation/SearchFrame_win.h"
#include "app/navigation/SearchState_win.h"
#include "app/shell/DialogKeys_win.h"
#include "app/toolkit/BitmapButton.h"

namespace kro::navigation {
namespace {

using toolkit::BitmapButtonRecord;

constexpr int kWidth = 530, kHeight = 340;
constexpr UINT kResultsCommand = 129;  // the main window's results command

struct SearchWindow {
  HWND hwnd = nullptr;
  HWND query = nullptr;
  HWND option = nullptr;
  std::array<HWND, 3> scopes{};  // by ScopeChoice
  std::array<BitmapButtonRecord, 4> buttons{};
  SearchFrame frame{"t_search", "t1_search", "search"};
};

SearchWindow gWindow;

HWND ButtonWindow(int command) {
  for (const auto& r : gWindow.buttons)
    if (r.command == command) return r.window;
  return nullptr;
}

void SetButton(int command, bool enabled) { SendMessageA(ButtonWindow(command), BM_SETSTATE, enabled ? 1 : 0, 0); }

std::string QueryText() {
  char text[kQueryBytes] = {};
  GetWindowTextA(gWindow.query, text, sizeof text);
  return text;
}

void RegisterKeys() { shell::RegisterDialogKeys(gWindow.hwnd, ButtonWindow(kSearchFind), ButtonWindow(kSearchClose)); }

// Message boxes go up with the dialog keys released, so that Enter and Esc reach the box.
void Tell(HWND owner, const char* text, const char* caption, UINT icon) {
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  MessageBoxA(owner, text, caption, icon);
  RegisterKeys();
}

void SetRunning(bool running) {
  SetButton(kSearchStop, running);
  SetButton(kSearchFind, !running);
  SetButton(kSearchClose, !running);
  EnableWindow(gWindow.query, !running);
}

// The scope the radio buttons name, kept for the next opening.
int TakeScope() {
  SearchState& state = Search();
  if (SendMessageA(gWindow.scopes[kCurrentArticle], BM_GETCHECK, 0, 0) == BST_CHECKED) {
    state.scopeChoice = kCurrentArticle;
    return kScopeTopic;
  }
  if (SendMessageA(gWindow.scopes[kWholeTitle], BM_GETCHECK, 0, 0) == BST_CHECKED) {
    state.scopeChoice = kWholeTitle;
    return kScopeTitle;
  }
  state.scopeChoice = kContentsSelection;
  return kScopeContents;
}

void HandOverToResults(const std::string& query) {
  SearchState& state = Search();
  SendMessageA(gWindow.query, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(query.c_str()));
  state.resultsAvailable = false;
  HWND results = Finder().resultsDialog ? *Finder().resultsDialog : nullptr;
  if (results) {
    BringWindowToTop(results);
    SetResultsQuery(query.c_str());
    shell::RegisterDialogKeys(results, ResultsOpenButton(), ResultsCloseButton());
  } else {
    SendMessageA(Finder().mainWindow, WM_COMMAND, kResultsCommand, 0);
    results = Finder().resultsDialog ? *Finder().resultsDialog : nullptr;
  }
  if (!results) {
    Tell(gWindow.hwnd, "Не могу создать окно результатов поиска!", "Ошибка", MB_ICONHAND);
    return;
  }
  state.resultsAvailable = true;
  if (!FillResults()) {
    shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
    MessageBoxA(results, "Найдено свыше 2000 статей, будут показаны первые 2000", "Поиск", MB_OK);
    shell::RegisterDialogKeys(results, ResultsOpenButton(), ResultsCloseButton());
  }
  if (Finder().resultsButton) Finder().resultsButton(true);
  if (article::TopicRecord* main = article::MainArticle()) {
    article::LayOut(main);
    ApplySearchHighlights(article::MainDisplay(main));
  }
}

void OnFind() {
  shell::SetStopFlag(0);
  SetRunning(true);
  const int scope = TakeScope();
  const bool wordForms = SendMessageA(gWindow.option, BM_GETCHECK, 0, 0) == BST_CHECKED;
  const std::string query = QueryText();
  const LONG result = RunQuery(article::MainDisplay(article::MainArticle()), scope, wordForms, query.c_str());
  if (shell::StopFlag()) {
    Tell(gWindow.hwnd, "Поиск прерван!", "Поиск", MB_ICONHAND);
    SetFocus(gWindow.query);
    shell::SetStopFlag(0);
    SetRunning(false);
    return;
  }
  SetRunning(false);
  lstrcpynA(Search().lastQuery, query.c_str(), kQueryBytes);
  if (result != 0) {
    Tell(gWindow.hwnd, result == kNothingFound ? "Нет такого текста!" : "Текст непригоден для поиска!", "Поиск", MB_OK);
    SetFocus(gWindow.query);
    return;
  }
  HandOverToResults(query);
}

void OnStop() {
  SendMessageA(ButtonWindow(kSearchFind), BM_SETCHECK, 0, 0);
  shell::SetStopFlag(1);
}

void SaveHistory() {
  std::vector<std::string> queries;
  const auto count = static_cast<int>(SendMessageA(gWindow.query, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = SendMessageA(gWindow.query, CB_GETLBTEXTLEN, i, 0);
    if (length <= 0) continue;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(gWindow.query, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    queries.push_back(std::move(text));
  }
  Search().history = PackQueryHistory(queries);
}

void Close(HWND hwnd) {
  const HWND results = Finder().resultsDialog ? *Finder().resultsDialog : nullptr;
  if (!results) EnableWindow(Finder().mainWindow, TRUE);
  SaveHistory();
  DestroyWindow(hwnd);
  if (!results) {
    shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
    return;
  }
  BringWindowToTop(results);
  SetFocus(GetDlgItem(results, kResultsList));
}

HWND Child(HWND parent, const char* cls, DWORD style, int x, int y, int w, int h, int id) {
  return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, reinterpret_cast<HMENU>(id),
                         Finder().instance, nullptr);
}

void CreateChildren(HWND hwnd) {
  gWindow.buttons = {toolkit::PushButtonRecord(kSearchClose, "s_cl_n", "s_cl_r", "s_cl_d", 370, 251),
                     toolkit::PushButtonRecord(kSearchFind, "s_find_n", "s_find_r", "s_find_d", 0, 250),
                     toolkit::PushButtonRecord(kSearchStop, "s_brak_n", "s_brak_r", "s_brak_d", 0, 180), {}};
  gWindow.buttons[0].cursor = LoadCursorA(Finder().instance, "HAND_E");
  toolkit::CreateBitmapButtons(hwnd, Finder().instance, gWindow.buttons.data(), true);
  gWindow.query = Child(hwnd, "COMBOBOX", WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 18, 41, 493, 80, kSearchQuery);
  lists::SubclassComboBox(gWindow.query);
  gWindow.option = Child(hwnd, "Button", BS_AUTOCHECKBOX | WS_BORDER, 495, 88, 14, 14, kSearchOption);
  gWindow.scopes[kCurrentArticle] = Child(hwnd, "Button", BS_AUTORADIOBUTTON | WS_GROUP, 495, 123, 14, 14, kSearchCurrentArticle);
  gWindow.scopes[kContentsSelection] = Child(hwnd, "Button", BS_AUTORADIOBUTTON, 495, 151, 14, 14, kSearchContents);
  gWindow.scopes[kWholeTitle] = Child(hwnd, "Button", BS_AUTORADIOBUTTON, 495, 179, 14, 14, kSearchWholeTitle);
}

void OnCreate(HWND hwnd) {
  const FinderContext& f = Finder();
  const SearchState& state = Search();
  gWindow.hwnd = hwnd;
  EnableWindow(f.mainWindow, FALSE);
  CreateChildren(hwnd);
  if (f.listFont) SendMessageA(gWindow.query, WM_SETFONT, reinterpret_cast<WPARAM>(f.listFont), FALSE);
  SendMessageA(gWindow.scopes[state.scopeChoice], BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(gWindow.option, BM_SETCHECK, state.wordForms ? BST_CHECKED : BST_UNCHECKED, 0);
  SetFocus(gWindow.query);
  const std::vector<std::string> history = UnpackQueryHistory(state.history);
  for (const std::string& query : history) SendMessageA(gWindow.query, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(query.c_str()));
  if (!history.empty()) SendMessageA(gWindow.query, CB_SETCURSEL, 0, 0);
  SetButton(kSearchFind, !QueryText().empty());
  SetButton(kSearchStop, false);
  const int length = history.empty() ? 0 : static_cast<int>(history.front().size());
  SendMessageA(gWindow.query, CB_SETEDITSEL, 0, MAKELPARAM(0, length));
}

void OnCommand(HWND hwnd, int id, int code) {
  switch (id) {
    case kSearchQuery:
      // Choosing an earlier query from the list puts text in the field as typing does.
      if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE) SetButton(kSearchFind, code == CBN_SELCHANGE || !QueryText().empty());
      return;
    case kSearchOption:
      if (code == BN_CLICKED) Search().wordForms = SendMessageA(gWindow.option, BM_GETCHECK, 0, 0) == BST_CHECKED;
      return;
    case kSearchFind:
      // A press of Enter posted while the button was disabled must not start a query.
      if (SendMessageA(ButtonWindow(kSearchFind), BM_GETSTATE, 0, 0) && !QueryText().empty()) OnFind();
      return;
    case kSearchStop: OnStop(); return;
    case kSearchClose: Close(hwnd); return;
    default: return;
  }
}

void OnActivate(HWND hwnd, bool active) {
  if (active) RegisterKeys();
  else shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  gWindow.frame.Activate(hwnd, active);
}

}  // namespace

LRESULT CALLBACK SearchDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (gWindow.frame.Handle(hwnd, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_MOVE:
      if (gWindow.query) SendMessageA(gWindow.query, CB_SHOWDROPDOWN, FALSE, 0);
      return 0;
    case WM_ACTIVATE: OnActivate(hwnd, Activating(wParam)); return 0;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(Finder().whiteBrush ? Finder().whiteBrush : GetStockObject(WHITE_BRUSH));
    case WM_CLOSE: Close(hwnd); return 0;
    case WM_DESTROY: gWindow.hwnd = nullptr; return 0;
    case WM_NCDESTROY:
      // The buttons are gone now, with the bitmaps their records held.
      gWindow = SearchWindow{};
      return DefWindowProcA(hwnd, message, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

HWND OpenSearchDialog() {
  // Left open behind the article (a result was read meanwhile): its button fetches it.
  if (gWindow.hwnd) {
    BringWindowToTop(gWindow.hwnd);
    return gWindow.hwnd;
  }
  const RECT r = toolkit::CentredRect(kWidth, kHeight);
  return CreateWindowExA(0, kSearchDialogClass, "Поиск", WS_POPUP | WS_VISIBLE | WS_CAPTION, r.left, r.top, kWidth, kHeight,
                         Finder().mainWindow, nullptr, Finder().instance, nullptr);
}

HWND SearchDialog() { return gWindow.hwnd; }

}  // namespace kro::navigation
