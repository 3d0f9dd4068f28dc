#include "app/shell/MainWindow_win.h"

#include <commdlg.h>

#include <array>
#include <cstdio>

#include "app/article/ArticleCopy_win.h"
#include "app/article/ArticlePrint_win.h"
#include "app/article/PicturePopup_win.h"
#include "app/article/SlideWindow_win.h"
#include "app/article/TopicWindow_win.h"
#include "app/movies/QuickTime.h"
#include "app/movies/VideoWindow.h"
#include "app/media/Galleries_win.h"
#include "app/navigation/ContentsDialog_win.h"
#include "app/navigation/History.h"
#include "app/navigation/ReadingDialogs_win.h"
#include "app/navigation/ResultsDialog_win.h"
#include "app/navigation/SearchDialog_win.h"
#include "app/navigation/SearchFrame_win.h"
#include "app/navigation/SearchState_win.h"
#include "app/shell/AboutWindow_win.h"
#include "app/shell/Config_win.h"
#include "app/shell/Cursors_win.h"
#include "app/shell/Help_win.h"
#include "app/shell/NavigationState_win.h"
#include "app/shell/Program_win.h"
#include "app/timeline/TimelineWindow_win.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/BitmapDrawing.h"
#include "app/toolkit/Palette.h"

namespace kro::shell {
namespace {

using toolkit::BitmapButtonRecord;

constexpr int kWidth = 640, kHeight = 480;
constexpr int kCaptionStrip = 20;
constexpr int kStartLetterIndex = 25;  // Р, the letter of the start article
using article::kFirstLetterIndex;
using article::kLetterCount;

struct MainState {
  HWND hwnd = nullptr;
  bool captionActive = false;
  bool closePressed = false;
  bool minimisePressed = false;
  UniqueBitmap captionOn, captionOff, closeOn, closeOff, minimiseOn, minimiseOff;
  PictureHandle background{};
  UniquePalette fixedPalette;
  HWND activeTopicWindow = nullptr;
  HWND articleArea = nullptr;
  HWND slideWindow = nullptr;
  HWND introductionBox = nullptr;
  PRINTDLGA printSettings{};
  int letterIndex = kStartLetterIndex;
};

MainState gMain;

BitmapButtonRecord Record(UINT command, const char* normal, const char* pressed, const char* disabled, int x, int y) {
  return toolkit::PushButtonRecord(static_cast<int32_t>(command), normal, pressed, disabled, x, y);
}

// The toolbar: the order of the records is the order of the table the program keeps.
std::array<BitmapButtonRecord, 17> gToolbar = {
    Record(kCmdSearch, "searchof", "searchon", "searchof", 70, 25),
    Record(kCmdBookmarks, "markoff", "markon", "markoff", 330, 25),
    Record(kCmdHistory, "wayoff", "wayon", "waystop", 265, 25),
    Record(kCmdResults, "resoff", "reson", "resstop", 135, 25),
    Record(kCmdBack, "backoff", "backon", "backstop", 220, 25),
    Record(kCmdPrevious, "prevoff", "prevon", "prevstop", 560, 421),
    Record(kCmdNext, "nextoff", "nexton", "nextstop", 590, 421),
    Record(kCmdPreviousPicture, "iprevoff", "iprevon", "iprevstp", 20, 321),
    Record(kCmdNextPicture, "inextoff", "inexton", "inextstp", 50, 321),
    Record(kCmdContents, "contoff", "conton", "contoff", 0, 25),
    Record(kCmdHelp, "helpoff", "helpon", "helpoff", 170, 390),
    Record(kCmdSound, "soundoff", "soundon", "soundstp", 450, 25),
    Record(kCmdVideo, "videooff", "videoon", "videostp", 520, 25),
    Record(kCmdMap, "mapoff", "mapon", "mapstp", 580, 20),
    Record(kCmdStartScreen, "katoff", "katon", "katoff", 390, 25),
    Record(kCmdPrint, "printoff", "printon", "printoff", 0, 395),
    {},
};

std::array<BitmapButtonRecord, 9> gStartButtons = {
    Record(kCmdVideoGallery, "vid_n", "vid_r", "vid_n", 390, 110),
    Record(kCmdPictureGallery, "ill_n", "ill_r", "ill_n", 350, 30),
    Record(kCmdMapGallery, "map_n", "map_r", "map_n", 360, 180),
    Record(kCmdSoundGallery, "son_n", "son_r", "son_n", 330, 270),
    Record(kCmdAbout, "ab_n", "ab_r", "ab_n", 250, 0),
    Record(kCmdQuit, "ex_n", "ex_r", "ex_n", 520, 0),
    Record(kCmdArticleView, "t1_n", "t1_r", "t1_n", 200, 400),
    Record(kCmdTimeline, "chr_n", "chr_r", "chr_n", 260, 330),
    {},
};

// The letter bar: one key per row of the letter table, commands 2600 + 10 k. The letter
// check marks these keys only, never the toolbar's.
constexpr int kLetterBarX = 20, kLetterBarY = 72, kLetterStep = 20;
std::array<std::array<char, 16>, kLetterCount * 3> gLetterNames{};
std::array<BitmapButtonRecord, kLetterCount + 1> gLetterBar{};

void BuildLetterBar() {
  for (int k = 0; k < kLetterCount; ++k) {
    char* off = gLetterNames[3 * k].data();
    char* on = gLetterNames[3 * k + 1].data();
    char* stop = gLetterNames[3 * k + 2].data();
    const char* folder = article::LetterForCommand(k).folder;
    std::snprintf(off, 16, "let_%s_off", folder);
    std::snprintf(on, 16, "let_%s_on", folder);
    std::snprintf(stop, 16, "let_%s_stop", folder);
    gLetterBar[k] = Record(kCmdFirstLetter + 10 * k, off, on, stop, kLetterBarX + kLetterStep * k, kLetterBarY);
    // A press changes nothing: the letter check alone decides which key looks pressed.
    gLetterBar[k].kind = toolkit::kReleaseOnlyButton;
  }
  gLetterBar[kLetterCount] = {};
}

template <size_t N>
HWND ButtonWindow(std::array<BitmapButtonRecord, N>& records, UINT command) {
  for (const auto& r : records)
    if (r.active == toolkit::kCreateButton && static_cast<UINT>(r.command) == command) return r.window;
  return nullptr;
}

void SetButtonState(UINT command, bool enabled) {
  if (HWND button = ButtonWindow(gToolbar, command)) SendMessageA(button, BM_SETSTATE, enabled ? 1 : 0, 0);
}

template <size_t N>
void PrepareRecords(std::array<BitmapButtonRecord, N>& records) {
  for (auto& r : records)
    if (r.active == toolkit::kCreateButton) r.cursor = Cursors().handE;
}

void ShowToolbar(bool show) {
  toolkit::ShowBitmapButtons(gToolbar.data(), show);
  toolkit::ShowBitmapButtons(gLetterBar.data(), show);
}

void SetLetterCheck() {
  for (int k = 0; k < kLetterCount; ++k)
    if (gLetterBar[k].window) SendMessageA(gLetterBar[k].window, BM_SETCHECK, kFirstLetterIndex + k == gMain.letterIndex, 0);
  SetButtonState(kCmdResults, navigation::Search().resultsAvailable);
}

Program& P() { return TheProgram(); }

// --- caption strip -----------------------------------------------------------------

void DrawCaption(HWND hwnd) {
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  const auto& b = P().display.buttons;
  toolkit::DrawBitmapHandle(dc, (gMain.captionActive ? gMain.captionOn : gMain.captionOff).Get(), 0, 0);
  toolkit::DrawBitmapHandle(dc, (gMain.closePressed ? gMain.closeOn : gMain.closeOff).Get(), b.closeLeft, b.top);
  toolkit::DrawBitmapHandle(dc, (gMain.minimisePressed ? gMain.minimiseOn : gMain.minimiseOff).Get(), b.minimiseLeft,
                            b.top);
  ReleaseDC(hwnd, dc);
}

LRESULT OnNcCalcSize(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  DefWindowProcA(hwnd, WM_NCCALCSIZE, wParam, lParam);
  RECT& client = *reinterpret_cast<RECT*>(lParam);
  const auto& d = P().display;
  client.top += kCaptionStrip - d.captionHeight - d.frameHeight;
  client.left -= d.frameWidth;
  client.right += d.frameWidth;
  client.bottom += d.frameHeight;
  return 0;
}

bool InButton(int x, int y, const RECT& window, int left, int right) {
  const auto& b = P().display.buttons;
  return InCaptionButton({x, y}, window, left, right, b.top, b.bottom);
}

LRESULT OnNcLButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam) {
  RECT window;
  GetWindowRect(hwnd, &window);
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  const auto& b = P().display.buttons;
  if (InButton(x, y, window, b.closeLeft, b.closeRight)) {
    gMain.closePressed = true;
    DrawCaption(hwnd);
    DestroyWindow(hwnd);
  } else if (InButton(x, y, window, b.minimiseLeft, b.minimiseRight)) {
    gMain.minimisePressed = true;
    DrawCaption(hwnd);
    ShowWindow(hwnd, SW_MINIMIZE);
  } else if (hit == HTCAPTION) {
    // The hit-test code in the low bits makes the move follow the mouse.
    PostMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
  }
  return 0;
}

// The frame messages both procedures share; false when the message is not one of them.
bool HandleFrame(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const bool minimised = IsIconic(hwnd);
  switch (message) {
    case WM_NCCALCSIZE:
      *result = minimised ? DefWindowProcA(hwnd, message, wParam, lParam) : OnNcCalcSize(hwnd, wParam, lParam);
      return true;
    case WM_NCPAINT:
    case WM_NCACTIVATE:
      if (minimised) {
        *result = DefWindowProcA(hwnd, message, wParam, lParam);
        return true;
      }
      DrawCaption(hwnd);
      *result = message == WM_NCPAINT ? 0 : (wParam == 0 ? 1 : 0);
      return true;
    case WM_NCLBUTTONDOWN:
      *result = minimised ? DefWindowProcA(hwnd, message, wParam, lParam) : OnNcLButtonDown(hwnd, wParam, lParam);
      return true;
    case WM_SETTEXT:
      // The default handling paints the system's caption; ours goes back over it.
      *result = DefWindowProcA(hwnd, message, wParam, lParam);
      if (!minimised) DrawCaption(hwnd);
      return true;
    case WM_ACTIVATE:
      gMain.captionActive = LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE;
      SendMessageA(hwnd, WM_NCPAINT, 1, 0);
      *result = 0;
      return true;
    case WM_SYSCOMMAND:
      if (!minimised && ((wParam & 0xFFF0) == SC_MOUSEMENU || (wParam & 0xFFF0) == SC_KEYMENU)) {
        *result = 0;  // there is no system menu
        return true;
      }
      *result = DefWindowProcA(hwnd, message, wParam, lParam);
      return true;
    default:
      return false;
  }
}

// --- client area and palette ---------------------------------------------------------

void OnPaint(HWND hwnd) {
  if (!gMain.background) {
    ValidateRect(hwnd, nullptr);
    return;
  }
  PaintGuard paint(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  DrawPicture(paint.Dc(), gMain.background, &client, nullptr);
}

LRESULT OnQueryNewPalette(HWND hwnd) {
  WindowDc dc(hwnd);
  PaletteGuard select(dc.Get(), gMain.fixedPalette.Get(), false);
  if (GetSystemPaletteUse(dc.Get()) != SYSPAL_STATIC) {
    SetSystemPaletteUse(dc.Get(), SYSPAL_STATIC);
    UnrealizeObject(gMain.fixedPalette.Get());
  }
  const UINT changed = RealizePalette(dc.Get());
  InvalidateRect(hwnd, nullptr, FALSE);
  return changed;
}

bool HandleClientArea(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const bool palette = P().display.paletteMode && gMain.fixedPalette;
  switch (message) {
    case WM_ERASEBKGND:
    case WM_CONTEXTMENU:
      *result = 0;
      return true;
    case WM_PAINT:
      if (IsIconic(hwnd)) *result = DefWindowProcA(hwnd, message, wParam, lParam);
      else OnPaint(hwnd), *result = 0;
      return true;
    case WM_QUERYNEWPALETTE:
      *result = palette ? OnQueryNewPalette(hwnd) : DefWindowProcA(hwnd, message, wParam, lParam);
      return true;
    case WM_PALETTECHANGED:
      if (!palette) *result = DefWindowProcA(hwnd, message, wParam, lParam);
      else *result = reinterpret_cast<HWND>(wParam) == hwnd ? 0 : OnQueryNewPalette(hwnd);
      return true;
    default:
      return false;
  }
}

void ReleaseBackground() {
  if (gMain.background) ReleasePicture(gMain.background);
  gMain.background = {};
}

void ShowQuickTimeError(HWND target, long code) {
  char text[32];
  std::snprintf(text, sizeof text, "%ld", code);
  MessageBoxA(GetParent(target), text, "Ошибка", MB_OK);
}

// --- navigation ----------------------------------------------------------------------

article::TopicRecord* Main() { return article::MainArticle(); }

void FocusArticle() {
  if (Main() && Main()->scrollingPane) SetFocus(Main()->scrollingPane);
}

void FitTopicWindow(HWND topicWindow) {
  if (topicWindow) {
    RECT area;
    GetWindowRect(gMain.articleArea, &area);
    MapWindowPoints(HWND_DESKTOP, gMain.articleArea, reinterpret_cast<POINT*>(&area), 2);
    MoveWindow(topicWindow, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    InvalidateRect(topicWindow, nullptr, TRUE);
  }
  InvalidateRect(gMain.articleArea, nullptr, TRUE);
}

void RecordCurrentPosition() {
  if (Main()) RecordPosition(article::MainDisplay(Main()));
}

void OnBack() {
  if (!Main()) return;
  if (const auto target = History().GoBack(CurrentPosition(article::MainDisplay(Main()))))
    article::ShowTopic(Main(), target->address, target->scroll);
  navigation::RefreshHistoryDialog();
}

// The main article window, never a pop-up topic window, is the one the article area holds.
void FitMainArticle() { FitTopicWindow(Main() ? Main()->topicWindow : nullptr); }

void ApplyDisplayLook() {
  if (!Main()) return;
  article::SetDisplayLook(article::PaneDisplay(Main()->scrollingPane));
  article::SetDisplayLook(article::PaneDisplay(Main()->nonScrollingPane));
}

void OnLetter(UINT command) {
  const int k = static_cast<int>(command - kCmdFirstLetter) / 10;
  if ((command - kCmdFirstLetter) % 10 != 0 || k < 0 || k >= kLetterCount || !Main()) return;
  const article::Letter letter = article::LetterForCommand(k);
  gMain.letterIndex = letter.index;
  article::ShowByStoredList(letter.folder, Main());
  SetLetterCheck();
}

// What the contents, search and results dialogs take from the program.
void PrepareFinder() {
  const Program& p = P();
  navigation::FinderContext context;
  context.instance = p.instance;
  context.mainWindow = gMain.hwnd;
  context.title = p.title;
  context.wordWheel = p.wordWheel;
  context.indexDisplay = p.indexDisplay;
  context.listFont = p.boldFont;
  context.whiteBrush = p.whiteBrush.Get();
  context.productDir = p.productDir;
  context.workingDir = p.workingDir;
  context.paletteMode = p.display.paletteMode;
  context.resultsDialog = &P().resultsDialog;
  context.recordHistory = [] { RecordCurrentPosition(); };
  context.resultsButton = [](bool enabled) { SetButtonState(kCmdResults, enabled); };
  navigation::SetFinderContext(std::move(context));
}

void OpenFinder(HWND (*open)()) {
  PrepareFinder();
  open();
}

// --- modes ---------------------------------------------------------------------------

void ShowStartScreen(HWND hwnd) {
  SetCursor(Cursors().wait);
  RecordCurrentPosition();
  ReleaseBackground();
  LoadBackground(P().productDir + "osn_256.pic");
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StartScreenProc));
  ShowToolbar(false);
  InvalidateRect(hwnd, nullptr, TRUE);
  for (HWND* dialog : {&P().historyDialog, &P().resultsDialog}) {
    if (*dialog) DestroyWindow(*dialog);
    *dialog = nullptr;
  }
  ShowWindow(gMain.articleArea, SW_HIDE);
  ShowWindow(gMain.slideWindow, SW_HIDE);
  toolkit::ShowBitmapButtons(gStartButtons.data(), true);
  ShowWindow(gMain.introductionBox, SW_SHOWNORMAL);
  SetCursor(Cursors().arrow);
}

void ShowArticleView(HWND hwnd, const char* context) {
  SetCursor(Cursors().wait);
  ReleaseBackground();
  article::ForgetShownPicture();
  LoadBackground(P().productDir + "ffon.pic");
  toolkit::ShowBitmapButtons(gStartButtons.data(), false);
  ShowWindow(gMain.introductionBox, SW_HIDE);
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ArticleViewProc));
  ShowToolbar(true);
  SetButtonState(kCmdVideo, false);
  SetButtonState(kCmdMap, false);
  ShowWindow(gMain.slideWindow, SW_SHOW);
  ShowWindow(gMain.articleArea, SW_SHOW);
  if (Main()) {
    if (context && *context) {
      article::ShowByContextString(context, Main());
    } else {
      RecordCurrentPosition();
      // Nothing recorded (a dead display) leaves the article as it is.
      if (History().Cursor() >= 0) {
        const auto& entry = History().At(History().Cursor());
        article::ShowTopic(Main(), entry.address, entry.scroll);
      }
    }
    ApplyDisplayLook();
    FitMainArticle();
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  SetCursor(Cursors().arrow);
  FocusArticle();
}

// --- commands ------------------------------------------------------------------------

// The active topic window's record; the main article window's when none is active.
article::TopicRecord* ActiveRecord() {
  article::TopicRecord* secondary = article::SecondaryWindow();
  if (gMain.activeTopicWindow && secondary && gMain.activeTopicWindow == secondary->topicWindow) return secondary;
  return Main();
}

// A cancelled dialog prints nothing and says nothing.
void OnPrint(HWND hwnd) {
  if (!Main() || !PrintDlgA(&gMain.printSettings)) return;
  if (article::PrintCurrentArticle(article::MainDisplay(Main()), gMain.printSettings.hDC) != 0)
    MessageBoxA(hwnd, "Сбой при печати статьи!", "Ошибка", MB_ICONHAND);
  gMain.printSettings.hDC = nullptr;  // the job has deleted it
}

void OpenArticleFromTimeline(const char* context) { ShowArticleView(gMain.hwnd, context); }

void OpenTimeline(HWND hwnd) {
  timeline::TimelineHost host;
  host.productDir = P().productDir;
  host.regionCursor = Cursors().handE;
  host.captionHeight = P().display.captionHeight;
  host.frameWidth = P().display.frameWidth;
  host.frameHeight = P().display.frameHeight;
  host.openArticle = OpenArticleFromTimeline;
  timeline::OpenTimeline(hwnd, host);
}

void OpenArticleMovie(HWND hwnd) {
  const auto& links = article::CurrentMediaLinks();
  if (links.moviePath.empty()) return;
  SetCursor(Cursors().wait);
  movies::OpenVideoWindow(links.moviePath.c_str(), hwnd, article::CurrentTitle(), links.movieCaption);
  SetCursor(Cursors().arrow);
}

void OnArticleCommand(HWND hwnd, UINT command) {
  switch (command) {
    case kCmdExit: DestroyWindow(hwnd); break;
    case kCmdPrint: OnPrint(hwnd); break;
    case kCmdCopyArticle:
      if (article::TopicRecord* record = ActiveRecord()) article::CopyArticleText(record);
      break;
    case kCmdCopySelection:
      if (article::TopicRecord* record = ActiveRecord()) article::CopySelection(record);
      break;
    case kCmdNext:
      if (Main()) article::PreviousNext(Main(), article::kNextArticle);
      break;
    case kCmdPrevious:
      if (Main()) article::PreviousNext(Main(), article::kPreviousArticle);
      break;
    case kCmdBack: OnBack(); break;
    case kCmdHistory: navigation::OpenHistoryDialog(P().instance); break;
    case kCmdBookmarks: navigation::OpenBookmarkDialog(P().instance); break;
    case kCmdStartScreen: ShowStartScreen(hwnd); break;
    case kCmdPreviousPicture: SendMessageA(gMain.slideWindow, article::kSlidePreviousPicture, 0, 0); break;
    case kCmdNextPicture: SendMessageA(gMain.slideWindow, article::kSlideNextPicture, 0, 0); break;
    case kCmdVideo: OpenArticleMovie(hwnd); break;
    case kCmdMap:
    case kCmdSound: {
      const auto& links = article::CurrentMediaLinks();
      const std::string& name = command == kCmdMap ? links.mapName : links.soundName;
      if (!name.empty()) article::ShowPopupByContextString(name.c_str(), 2);
      break;
    }
    case kCmdHelp: ShowHelp(hwnd); break;
    case kCmdContents: OpenFinder(navigation::OpenContentsDialog); break;
    case kCmdSearch: OpenFinder(navigation::OpenSearchDialog); break;
    case kCmdResults: OpenFinder(navigation::OpenResultsDialog); break;
    default:
      if (command >= kCmdFirstLetter && command <= kCmdLastLetter) OnLetter(command);
      // The dialogs and the media windows arrive with their own windows; until then
      // their commands do nothing.
      break;
  }
}

// The galleries reach the title and come back to the article view through the host.
void OpenGallery(UINT command) {
  media::SetGalleryHost({P().title, P().productDir, gMain.hwnd, P().boldFont, Cursors().handE, Cursors().wait,
                         Cursors().arrow, Cursors().zoom,
                         [](const char* context) { ShowArticleView(gMain.hwnd, context); }});
  if (command == kCmdPictureGallery) media::OpenSlidesGallery();
  if (command == kCmdVideoGallery) media::OpenGallery(media::kVideoGalleryName);
  if (command == kCmdMapGallery) media::OpenGallery(media::kMapGalleryName);
  if (command == kCmdSoundGallery) media::OpenGallery(media::kSoundGalleryName);
}

void OnStartCommand(HWND hwnd, UINT command) {
  switch (command) {
    case kCmdArticleView: ShowArticleView(hwnd, ""); break;
    case kCmdQuit: DestroyWindow(hwnd); break;
    case kCmdTimeline: OpenTimeline(hwnd); break;
    case kCmdAbout: OpenAboutWindow(); break;
    case kCmdVideoGallery:
    case kCmdPictureGallery:
    case kCmdMapGallery:
    case kCmdSoundGallery: OpenGallery(command); break;
    default: break;
  }
}

void OnTopicActivated(HWND topicWindow) {
  if (gMain.activeTopicWindow && gMain.activeTopicWindow != topicWindow) {
    article::TopicRecord* secondary = article::SecondaryWindow();
    if (Main() && topicWindow == Main()->topicWindow && secondary) article::ClearSelection(secondary);
    else if (Main()) article::ClearSelection(Main());
  }
  gMain.activeTopicWindow = topicWindow;
}

void OnTopicClosed(HWND hwnd, HWND topicWindow) {
  if (gMain.activeTopicWindow == topicWindow && Main()) gMain.activeTopicWindow = Main()->topicWindow;
  SetFocus(hwnd);
}

// The caption names the article read, then the product.
void UpdateCaption() {
  SetWindowTextA(gMain.hwnd, (std::string(article::CurrentTitle()) + " — " + kProductTitle).c_str());
}

// --- creation and destruction ------------------------------------------------------------

void OnCreate(HWND hwnd) {
  gMain.hwnd = hwnd;
  gMain.closePressed = gMain.minimisePressed = false;
  const HINSTANCE instance = P().instance;
  gMain.captionOn.Reset(LoadBitmapA(instance, "capbaron"));
  gMain.captionOff.Reset(LoadBitmapA(instance, "capbarof"));
  gMain.closeOn.Reset(LoadBitmapA(instance, "closeon"));
  gMain.closeOff.Reset(LoadBitmapA(instance, "closeoff"));
  gMain.minimiseOn.Reset(LoadBitmapA(instance, "minon"));
  gMain.minimiseOff.Reset(LoadBitmapA(instance, "minoff"));
  SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  if (P().display.paletteMode) {
    WindowDc dc(hwnd);
    gMain.fixedPalette = toolkit::CreateFixedPalette(dc.Get());
  }
}

void WriteBackIntroduction(HWND hwnd) {
  const bool ticked = SendMessageA(gMain.introductionBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (ticked != P().showIntroduction) Config().Write("ShowIntroduction", ticked ? "1" : "0");
  WinHelpA(hwnd, (P().productDir + "kro97.hlp").c_str(), HELP_QUIT, 0);
}

void SaveLastPositionAndRelease() {
  if (!Main()) return;
  RecordCurrentPosition();
  SaveLastPosition();
  ReleaseBackground();
  ReleaseArticleMachinery();
}

void CloseModelessDialogs() {
  for (HWND* dialog : {&P().historyDialog, &P().resultsDialog}) {
    if (*dialog) DestroyWindow(*dialog);
    *dialog = nullptr;
  }
}

void ReleaseFrameResources() {
  for (UniqueBitmap* bitmap : {&gMain.captionOn, &gMain.captionOff, &gMain.closeOn, &gMain.closeOff, &gMain.minimiseOn,
                               &gMain.minimiseOff})
    bitmap->Reset();
  gMain.fixedPalette.Reset();
}

void OnArticleViewDestroy(HWND hwnd) {
  WriteBackIntroduction(hwnd);
  SaveLastPositionAndRelease();
  CloseModelessDialogs();
  DestroySharedCursors();
  PostQuitMessage(0);
  ReleaseFrameResources();
  ShowCursor(TRUE);
}

void OnStartScreenDestroy(HWND hwnd) {
  WriteBackIntroduction(hwnd);
  SaveLastPositionAndRelease();
  DestroySharedCursors();
  PostQuitMessage(0);
  ReleaseFrameResources();
}

// The article view's own handling; the frame and the client area come first.
LRESULT ArticleViewMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        gMain.minimisePressed = false;
        FitMainArticle();
      }
      return 0;
    case WM_COMMAND: OnArticleCommand(hwnd, LOWORD(wParam)); return 0;
    case article::kTopicActivated: OnTopicActivated(reinterpret_cast<HWND>(lParam)); return 0;
    case article::kTopicClosed: OnTopicClosed(hwnd, reinterpret_cast<HWND>(lParam)); return 0;
    case article::kPaneClicked: return 0;
    case WM_SETFOCUS: FocusArticle(); return 0;
    case WM_KEYDOWN:
      if (gMain.activeTopicWindow) SendMessageA(gMain.activeTopicWindow, message, wParam, lParam);
      return 0;
    case WM_DESTROY: OnArticleViewDestroy(hwnd); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

LRESULT StartScreenMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITMENU: return IsIconic(hwnd) ? DefWindowProcA(hwnd, message, wParam, lParam) : 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) gMain.minimisePressed = false;
      return 0;
    case WM_COMMAND: OnStartCommand(hwnd, LOWORD(wParam)); return 0;
    case WM_DESTROY: OnStartScreenDestroy(hwnd); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

// What the article windows need from the main window.
class MainArticleHost final : public article::ArticleHost {
public:
  void RecordHistory(LPMV display) override { RecordPosition(display); }
  void NavigationChanged(bool hasPrevious, bool hasNext) override {
    SetButtonState(kCmdPrevious, hasPrevious);
    SetButtonState(kCmdNext, hasNext);
    SetButtonState(kCmdHistory, History().Last() != -1);
    SetButtonState(kCmdBack, History().Cursor() != -1);
  }
  void LetterChanged(int letterIndex) override {
    gMain.letterIndex = letterIndex;
    SetLetterCheck();
  }
  void ArticleShown(article::TopicRecord* record) override {
    UpdateCaption();
    if (record != Main()) return;
    article::RebuildMediaLinks(article::MainDisplay(record), article::CurrentLetterFolder(), gMain.hwnd);
    SendMessageA(gMain.slideWindow, article::kSlideNewArticle, 0, 0);
  }
  void ApplyHighlights(LPMV display) override { navigation::ApplySearchHighlights(display); }
  HWND MainWindow() override { return gMain.hwnd; }
};

MainArticleHost gHost;

}  // namespace

POINT MainWindowOrigin(int screenWidth, int screenHeight) {
  if (screenWidth > kWidth || screenHeight >= kHeight + 1) return {(screenWidth - kWidth) / 2, (screenHeight - kHeight) / 2};
  return {0, 0};
}

// Strict comparisons: the border pixel of a button is not the button.
bool InCaptionButton(POINT point, const RECT& window, int left, int right, int top, int bottom) {
  return window.left + left < point.x && point.x < window.left + right && window.top + top < point.y &&
         point.y < window.top + bottom;
}

LRESULT CALLBACK ArticleViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleFrame(hwnd, message, wParam, lParam, &result)) return result;
  if (HandleClientArea(hwnd, message, wParam, lParam, &result)) return result;
  return ArticleViewMessage(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK StartScreenProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleFrame(hwnd, message, wParam, lParam, &result)) return result;
  if (HandleClientArea(hwnd, message, wParam, lParam, &result)) return result;
  return StartScreenMessage(hwnd, message, wParam, lParam);
}

bool CreateMainWindow(HINSTANCE instance) {
  Program& program = P();
  program.accelerators = LoadAcceleratorsA(instance, "MVAppAccelerators");
  const POINT origin = MainWindowOrigin(program.display.screenWidth, program.display.screenHeight);
  const HWND hwnd = CreateWindowExA(0, kMainWindowClass, "", WS_SYSMENU, origin.x, origin.y, kWidth, kHeight, nullptr,
                                    nullptr, instance, nullptr);
  if (!hwnd) return false;
  program.mainWindow = hwnd;
  article::SetArticleHost(&gHost);
  ConnectReadingDialogs();
  article::SetSlideHost({program.productDir, Cursors().zoom,
                         [](bool previous, bool next) {
                           SetButtonState(kCmdPreviousPicture, previous);
                           SetButtonState(kCmdNextPicture, next);
                         },
                         [](bool movie, bool sound, bool map) {
                           SetButtonState(kCmdVideo, movie);
                           SetButtonState(kCmdSound, sound);
                           SetButtonState(kCmdMap, map);
                         }});
  const auto& close = program.display.buttons;
  article::SetPicturePopupHost({[] { return P().lightFont; }, [] { return P().display.paletteMode ? gMain.fixedPalette.Get() : nullptr; },
                                close.closeLeft, close.closeRight, close.top, close.bottom});
  gMain.articleArea = CreateWindowExA(0, kArticleAreaClass, "", WS_CHILD, 229, 96, 392, 323, hwnd, nullptr, instance, nullptr);
  gMain.slideWindow = CreateWindowExA(0, kSlideWindowClass, "", WS_CHILD | WS_BORDER, 21, 105, 186, 207, hwnd, nullptr,
                                      instance, nullptr);
  gMain.introductionBox = CreateWindowExA(0, "Button", "", WS_CHILD | BS_AUTOCHECKBOX, 604, 428, 14, 14, hwnd, nullptr,
                                          instance, nullptr);
  gMain.printSettings.lStructSize = sizeof gMain.printSettings;
  gMain.printSettings.hwndOwner = hwnd;
  gMain.printSettings.Flags = PD_NOSELECTION | PD_NOPAGENUMS | PD_RETURNDC;
  BuildLetterBar();
  PrepareRecords(gToolbar);
  PrepareRecords(gLetterBar);
  PrepareRecords(gStartButtons);
  toolkit::CreateBitmapButtons(hwnd, instance, gToolbar.data(), false);
  toolkit::CreateBitmapButtons(hwnd, instance, gLetterBar.data(), false);
  for (UINT command : {kCmdSound, kCmdVideo, kCmdMap}) SetButtonState(command, false);
  toolkit::CreateBitmapButtons(hwnd, instance, gStartButtons.data(), false);
  SetLetterCheck();
  UpdateWindow(hwnd);
  InvalidateRect(hwnd, nullptr, TRUE);
  return true;
}

bool LoadBackground(const std::string& path) {
  PictureFileHandle file{};
  const int32_t opened = OpenPictureFile(path.c_str(), &file, 0);
  if (opened != 0) {
    ShowQuickTimeError(gMain.hwnd, opened);
    return false;
  }
  gMain.background = GetPictureFromFile(file);
  if (!gMain.background) {
    ShowQuickTimeError(gMain.hwnd, GetMoviesLastError());
    ClosePictureFile(file);
    return false;
  }
  ClosePictureFile(file);
  InvalidateRect(gMain.hwnd, nullptr, TRUE);
  return true;
}

void ShowArticleViewAtStart() {
  LoadBackground(P().productDir + "ffon.pic");
  ShowWindow(gMain.hwnd, SW_SHOW);
  ShowToolbar(true);
  ShowWindow(gMain.slideWindow, SW_SHOW);
  ShowWindow(gMain.articleArea, SW_SHOW);
  if (Main()) {
    gMain.activeTopicWindow = Main()->topicWindow;
    FitTopicWindow(Main()->topicWindow);
    RestoreLastPosition();
    UpdateCaption();
  }
  InvalidateRect(gMain.hwnd, nullptr, TRUE);
  FocusArticle();
}

void SetIntroductionBox(bool checked) {
  SendMessageA(gMain.introductionBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

HWND ArticleArea() { return gMain.articleArea; }

}  // namespace kro::shell
