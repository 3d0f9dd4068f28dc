#include "app/article/TopicWindow_win.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/article/PaneState_win.h"
#include "app/toolkit/GlobalBlock.h"

namespace kro::article {
namespace {

constexpr char kStartTopic[] = "topic_ros14";
constexpr RECT kSecondaryStart{160, 120, 480, 360};
constexpr DWORD kSecondaryStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

struct ArticleState {
  ArticleHost* host = nullptr;
  TopicRecord* main = nullptr;
  TopicRecord* secondary = nullptr;
  RECT secondaryRect = kSecondaryStart;
  std::string title = "РОССИЯ";
  Letter letter{25, "r"};
};

ArticleState& State() {
  static ArticleState state;
  return state;
}

TopicRecord* RecordOf(HWND window) { return reinterpret_cast<TopicRecord*>(GetWindowLongPtrA(window, 0)); }

// The name of the topic a display shows, "" when it has none.
std::string TopicName(LPMV display) {
  UniqueGlobal name(display ? hMVGetName(display) : nullptr);
  toolkit::GlobalLockGuard lock(name.Get());
  const auto* text = static_cast<const char*>(lock.Data());
  return text ? std::string(text, strnlen(text, lock.SizeBytes())) : std::string();
}

// The letter follows the title's first Cyrillic letter; a title without one keeps it.
void TakeLetterOf(const std::string& title) {
  const auto letter = LetterOfTitle(title);
  if (!letter) return;
  ArticleState& state = State();
  const bool changed = letter->index != state.letter.index;
  state.letter = *letter;
  if (changed && state.host) state.host->LetterChanged(letter->index);
}

void Jump(TopicRecord* record, LONG address, LONG scroll) {
  if (address == -1) return;
  PaneJump(record->nonScrollingPane, address, scroll);
  PaneJump(record->scrollingPane, address, scroll);
}

LONG CurrentAddress(TopicRecord* record) {
  LONG address = -1, region = 0, scroll = 0;
  MVGetAddress(MainDisplay(record), &address, &region, &scroll);
  return address;
}

HMVTITLE TitleOf(TopicRecord* record) { return hMVGetTitle(MainDisplay(record), 0); }

void RecordHistory(TopicRecord* record) {
  if (State().host) State().host->RecordHistory(MainDisplay(record));
}

// ---- Window procedure ----------------------------------------------------------------

void OnPaneClicked(HWND window, HWND pane) {
  TopicRecord* record = RecordOf(window);
  if (!record) return;
  if (record->selectionPane && record->selectionPane != pane) fMVClearSelection(PaneDisplay(record->selectionPane));
  record->selectionPane = pane;
  SendMessageA(record->owner, kTopicActivated, 0, reinterpret_cast<LPARAM>(window));
}

void OnKeyDown(HWND window, WPARAM key) {
  TopicRecord* record = RecordOf(window);
  if (record && record->selectionPane) PaneKeyDown(record->selectionPane, key);
}

void OnMoveOrSize(HWND window, UINT message) {
  TopicRecord* record = RecordOf(window);
  if (!record) return;
  // A minimised window's rectangle is its icon's: the stored place stays the restored one.
  if (record == State().secondary && !IsIconic(window)) GetWindowRect(window, &State().secondaryRect);
  if (message == WM_SIZE) LayOut(record);
}

void OnClose(HWND window) {
  TopicRecord* record = RecordOf(window);
  if (!record) return;
  SendMessageA(record->owner, kTopicClosed, 0, reinterpret_cast<LPARAM>(window));
  DestroyTopicWindow(record);
}

// The record goes with its window, however the window is destroyed.
void OnDestroy(HWND window) {
  TopicRecord* record = RecordOf(window);
  if (!record) return;
  SetWindowLongPtrA(window, 0, 0);
  ArticleState& state = State();
  if (state.main == record) state.main = nullptr;
  if (state.secondary == record) state.secondary = nullptr;
  DestroyPane(record->scrollingPane);
  DestroyPane(record->nonScrollingPane);
  record->alive = 0;
  toolkit::FreeGlobalBlock(record);
}

LRESULT CALLBACK TopicProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      OnKeyDown(window, wParam);
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      OnMoveOrSize(window, message);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_CLOSE) break;
      OnClose(window);
      return 0;
    case WM_MOUSEMOVE:
      SetCursor(LoadCursorA(nullptr, IDC_ARROW));
      return 0;
    case kPaneClicked:
      OnPaneClicked(window, reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterTopicClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = TopicProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "myicon");
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kTopicClass;
  return RegisterClassA(&wc) != 0;
}

}  // namespace

ArticleHost* Host() { return State().host; }

void SetArticleHost(ArticleHost* host) { State().host = host; }

bool RegisterArticleClasses(HINSTANCE instance) { return RegisterTopicClass(instance) && RegisterPaneClass(instance); }

TopicRecord* RecordOfPane(HWND pane) {
  if (!IsPane(pane) || PaneKindOf(pane) == kPopupPane) return nullptr;
  HWND parent = PaneParent(pane);
  char name[sizeof kTopicClass + 1] = {};
  if (!parent || !GetClassNameA(parent, name, sizeof name) || lstrcmpA(name, kTopicClass) != 0) return nullptr;
  TopicRecord* record = RecordOf(parent);
  return record && (record->scrollingPane == pane || record->nonScrollingPane == pane) ? record : nullptr;
}

TopicRecord* CreateTopicWindow(HINSTANCE instance, HMVTITLE title, HWND parent, DWORD style, const char* context,
                               HotspotCallback callback) {
  HWND window = CreateWindowExA(0, kTopicClass, "", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                parent, nullptr, instance, nullptr);
  if (!window) return nullptr;
  auto* record = static_cast<TopicRecord*>(toolkit::AllocateGlobalBlock(sizeof(TopicRecord)));
  if (!record) {
    DestroyWindow(window);
    return nullptr;
  }
  record->topicWindow = window;
  record->owner = parent;
  record->alive = 1;
  SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(record));
  record->scrollingPane = CreatePane(window, instance, title, kBodyPane, kKeepLayoutOnSize, callback);
  record->nonScrollingPane = CreatePane(window, instance, title, kHeadingPane, kKeepLayoutOnSize, callback);
  if (!record->scrollingPane || !record->nonScrollingPane) {
    DestroyWindow(window);  // takes the record and any pane made
    return nullptr;
  }
  LONG address = context ? vaMVConvertContextString(title, context) : -1;
  if (address == -1) address = vaMVGetContents(hMVGetTitle(PaneDisplay(record->scrollingPane), 0));
  Jump(record, address, 0);
  return record;
}

void DestroyTopicWindow(TopicRecord* record) {
  if (record && record->alive) DestroyWindow(record->topicWindow);  // WM_DESTROY frees the record
}

int LayOut(TopicRecord* record) {
  if (!record || !record->alive) return kLayOutDead;
  HWND window = record->topicWindow;
  RECT client;
  GetClientRect(window, &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return 0;
  SendMessageA(window, WM_SETREDRAW, FALSE, 0);
  int headingHeight = 0;
  if (fMVHasNSR(PaneDisplay(record->nonScrollingPane))) {
    RealizePane(record->nonScrollingPane, &client);
    headingHeight = std::min<int>(HIWORD(ptMVGetSize(PaneDisplay(record->nonScrollingPane))), h);
    MoveWindow(record->nonScrollingPane, 0, 0, w, headingHeight, TRUE);
    ShowWindow(record->nonScrollingPane, SW_SHOW);
  } else {
    ShowWindow(record->nonScrollingPane, SW_HIDE);
  }
  if (fMVHasSR(PaneDisplay(record->scrollingPane))) {
    MoveWindow(record->scrollingPane, 0, headingHeight, w, h - headingHeight, TRUE);
    RealizePane(record->scrollingPane, nullptr);
    ShowWindow(record->scrollingPane, SW_SHOW);
  } else {
    ShowWindow(record->scrollingPane, SW_HIDE);
  }
  SendMessageA(window, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return 1;
}

LPMV MainDisplay(TopicRecord* record) {
  if (!record || !record->alive) return nullptr;
  LPMV body = PaneDisplay(record->scrollingPane);
  return fMVHasSR(body) ? body : PaneDisplay(record->nonScrollingPane);
}

int ShowTopic(TopicRecord* record, LONG address, LONG scroll) {
  if (!record || !record->alive) return 0;
  ArticleState& state = State();
  bool hasPrevious = false, hasNext = false;
  if (address != -1) {
    LPMV body = PaneDisplay(record->scrollingPane);
    MVRemoveInsertedEmbeddedWindows(body);
    Jump(record, address, scroll);
    if (fMVHasSR(body) && state.host) state.host->ApplyHighlights(body);
    LayOut(record);
    hasPrevious = addrMVGetPrev(MainDisplay(record)) != -1;
    hasNext = addrMVGetNext(MainDisplay(record)) != -1;
  }
  state.title = TopicName(MainDisplay(record));
  TakeLetterOf(state.title);
  if (address == -1) return 0;
  // The main window's buttons, pictures and media follow the main article only.
  if (state.host && record == state.main) {
    state.host->NavigationChanged(hasPrevious, hasNext);
    state.host->ArticleShown(record);
  }
  return 1;
}

int PreviousNext(TopicRecord* record, UINT command) {
  LPMV display = MainDisplay(record);
  if (!display) return 0;
  const LONG address = command == kNextArticle ? addrMVGetNext(display) : addrMVGetPrev(display);
  if (address == -1) return 0;
  RecordHistory(record);
  return ShowTopic(record, vaMVConvertAddr(TitleOf(record), address), 0);
}

void ShowByContextString(const char* context, TopicRecord* record) {
  if (!context || !MainDisplay(record)) return;
  const LONG address = vaMVConvertContextString(TitleOf(record), context);
  // An unknown context leaves the article where it is; the history gets no step for it.
  if (address == -1) return;
  RecordHistory(record);
  ShowTopic(record, address, 0);
}

void ShowByStoredList(const char* listName, TopicRecord* record) {
  if (!listName || !MainDisplay(record)) return;
  HMVTITLE title = TitleOf(record);
  HMVTOPICLIST list = hMVTopicListLoad(title, listName);
  if (!list) return;
  const LONG topicNumber = lMVTopicListLength(list) > 0 ? lMVTopicListLookup(list, 0) : -1;
  MVTopicListDestroy(list);
  const LONG address = topicNumber == -1 ? -1 : vaMVConvertTopicNumber(title, topicNumber);
  if (address == -1) return;
  RecordHistory(record);
  ShowTopic(record, address, 0);
}

void ClearSelection(TopicRecord* record) {
  if (!record || !record->alive) return;
  LPMV heading = PaneDisplay(record->nonScrollingPane);
  LPMV body = PaneDisplay(record->scrollingPane);
  if (fMVHasNSR(heading)) fMVClearSelection(heading);
  if (fMVHasSR(body)) fMVClearSelection(body);
}

void SetDisplayLook(LPMV display) {
  if (!display) return;
  MVSetKerningBoundary(display, 100);
  MVHidePartialLines(display, TRUE);
  MVSetBkColor(display, RGB(255, 255, 255));
  MVSetTextColor(display, RGB(0, 0, 0));
}

TopicRecord* CreateMainArticleWindow(HINSTANCE instance, HMVTITLE title, HWND articleArea, HotspotCallback callback) {
  TopicRecord* record = CreateTopicWindow(instance, title, articleArea, WS_CHILD | WS_VISIBLE, kStartTopic, callback);
  if (!record) return nullptr;
  SetDisplayLook(PaneDisplay(record->scrollingPane));
  SetDisplayLook(PaneDisplay(record->nonScrollingPane));
  ArticleState& state = State();
  state.main = record;
  ShowTopic(record, CurrentAddress(record), 0);
  if (state.host) state.host->LetterChanged(state.letter.index);
  return record;
}

TopicRecord* MainArticle() { return State().main; }
TopicRecord* SecondaryWindow() { return State().secondary; }

void ShowInSecondaryWindow(const char* context, LPMV linkDisplay) {
  HWND linkPane = linkDisplay ? hwndMVGetWindow(linkDisplay) : nullptr;
  if (!context || !linkPane) return;
  HMVTITLE title = hMVGetTitle(linkDisplay, 0);
  ArticleState& state = State();
  if (!state.secondary) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(linkPane, GWLP_HINSTANCE));
    HWND owner = state.host ? state.host->MainWindow() : nullptr;
    state.secondary = CreateTopicWindow(instance, title, owner, kSecondaryStyle, nullptr, PaneCallback(linkPane));
    if (!state.secondary) return;
    const RECT& r = state.secondaryRect;
    MoveWindow(state.secondary->topicWindow, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
  TopicRecord* record = state.secondary;
  ShowWindow(record->topicWindow, IsIconic(record->topicWindow) ? SW_RESTORE : SW_SHOW);
  SetWindowTextA(record->topicWindow, TopicName(linkDisplay).c_str());
  ShowTopic(record, vaMVConvertContextString(title, context), 0);
  SetFocus(record->scrollingPane);
}

namespace {

// An authored command: "context>window" shows the context in the secondary window (the
// window's name is not used), "activate" activates the display; others do nothing.
LONG AuthoredCommand(LPMV display, const char* command) {
  const std::string_view text = command ? command : "";
  if (const size_t arrow = text.find('>'); arrow != std::string_view::npos)
    ShowInSecondaryWindow(std::string(text.substr(0, arrow)).c_str(), display);
  else if (text == "activate")
    MVActivate(display, TRUE);
  return 1;
}

// A jump from an article: popups close first; the position left goes into the history.
LONG ArticleJump(LPMV display, LONG address) {
  HWND pane = ClosePopups(hwndMVGetWindow(display));
  TopicRecord* main = State().main;
  if (!pane || !IsWindowVisible(pane) || !main) return 1;
  RecordHistory(main);
  return ShowTopic(main, address, 0) ? 1 : 0;
}

}  // namespace

LONG CALLBACK ArticleHotspotHandler(LPMV display, LPMVHOTSPOTINFO hotspot) {
  if (!display || !hotspot) return 0;
  HMVTITLE title = hMVGetTitle(display, 0);
  switch (hotspot->kind) {
    case MV_HOTSPOT_COMMAND: return AuthoredCommand(display, hotspot->data);
    case MV_HOTSPOT_JUMP: return ArticleJump(display, vaMVConvertHash(title, hotspot->hash));
    case MV_HOTSPOT_POPUP: return ShowPopupTopic(display, hotspot->rect, vaMVConvertHash(title, hotspot->hash), 2);
    case MV_HOTSPOT_CONTEXT_JUMP: return ArticleJump(display, vaMVConvertContextString(title, hotspot->data));
    default: return 0;
  }
}

const char* CurrentTitle() { return State().title.c_str(); }
int CurrentLetterIndex() { return State().letter.index; }
const char* CurrentLetterFolder() { return State().letter.folder; }

}  // namespace kro::article
