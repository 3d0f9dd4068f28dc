#include "app/archive/ArchiveWindow_win.h"

#include <array>
#include <memory>
#include <optional>

#include "app/archive/ArchiveHelp_win.h"
#include "app/archive/ArchiveProgram_win.h"
#include "app/archive/ArchiveVideo_win.h"
#include "app/lists/DescribedList_win.h"
#include "app/media/CatalogueFile_win.h"
#include "app/shell/Cursors_win.h"
#include "app/shell/DialogKeys_win.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/BitmapDrawing.h"
#include "app/toolkit/PaintedFrame.h"
#include "runtime/base/FileIo_win.h"

namespace kro::archive {
namespace {

using toolkit::BitmapButtonRecord;

constexpr int kListX = 100, kListY = 100, kListWidth = 410, kListHeight = 208;

struct ArchiveWindowState {
  HWND hwnd = nullptr;
  toolkit::PaintedFrame frame;
  UniqueBitmap titleOn, titleOff, background;
  std::unique_ptr<lists::DescribedList> list;
  // video.dat, open while the window exists; none when it could not be loaded.
  std::optional<media::OpenCatalogue> catalogue;
  Playlist playlist;
};

ArchiveWindowState gWindow;

BitmapButtonRecord Record(UINT command, const char* pressed, const char* normal, const char* disabled, int x, int y) {
  return toolkit::PushButtonRecord(static_cast<int32_t>(command), normal, pressed, disabled, x, y);
}

std::array<BitmapButtonRecord, 6> gButtons = {
    Record(kCmdExit, "close_v1", "close_v", "close_v", 490, 0),
    Record(kCmdHelp, "help_r", "help_n", "help_n", 0, 0),
    Record(kCmdSelectAll, "select_r", "select_n", "select_d", 0, 320),
    Record(kCmdReset, "del_r", "del_n", "del_d", 280, 330),
    Record(kCmdView, "look_r", "look_n", "look_n", 520, 330),
    {},
};

HWND ButtonWindow(UINT command) {
  for (const auto& r : gButtons)
    if (r.active == toolkit::kCreateButton && static_cast<UINT>(r.command) == command) return r.window;
  return nullptr;
}

const std::string& Disc() { return TheArchive().productDir; }
const media::OpenCatalogue* Catalogue() { return gWindow.catalogue ? &*gWindow.catalogue : nullptr; }

void OnCreate(HWND hwnd) {
  gWindow.hwnd = hwnd;
  gWindow.playlist = {};  // the new list starts with nothing ticked
  const HINSTANCE instance = TheArchive().instance;
  gWindow.titleOn.Reset(LoadBitmapA(instance, "t_v"));
  gWindow.titleOff.Reset(LoadBitmapA(instance, "t_v_d"));
  gWindow.background.Reset(LoadBitmapA(instance, "g_video"));
  gWindow.frame = {gWindow.titleOn.Get(), gWindow.titleOff.Get(), false};
  for (auto& r : gButtons)
    if (r.active == toolkit::kCreateButton) r.cursor = shell::Cursors().handE;
  toolkit::CreateBitmapButtons(hwnd, instance, gButtons.data(), true);
  gWindow.list = std::make_unique<lists::DescribedList>((Disc() + "content.txt").c_str(), instance, kListX, kListY,
                                                        kListWidth, kListHeight, hwnd);
  media::FolderStore store(Disc());
  gWindow.catalogue = media::LoadCatalogue(store, "video.dat", media::kArchiveCapacityBytes);
}

void OnActivate(HWND hwnd, WPARAM wParam) {
  gWindow.frame.isActive = LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE;
  if (gWindow.frame.isActive)
    shell::RegisterDialogKeys(hwnd, ButtonWindow(kCmdHelp), ButtonWindow(kCmdExit));
  else
    shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  SendMessageA(hwnd, WM_NCPAINT, 1, 0);
}

void OnPaint(HWND hwnd) {
  toolkit::DrawTitleBar(hwnd, gWindow.frame);
  PaintGuard paint(hwnd);
  toolkit::DrawBitmapHandle(paint.Dc(), gWindow.background.Get(), 0, 0);
}

void ShowHelp(HWND hwnd) {
  const std::string helpFile = Disc() + "lumfil.hlp";
  // The help viewer of old systems reads .hlp files; the disc carries its text for this one.
  if (FileExists(helpFile))
    WinHelpA(hwnd, helpFile.c_str(), HELP_INDEX, 0);
  else
    OpenArchiveHelp(hwnd, Disc() + kArchiveHelpText);
}

void Close(HWND hwnd) {
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  gWindow.catalogue.reset();
  DestroyWindow(hwnd);
  PostQuitMessage(kExitByUser);
}

void OnCommand(HWND hwnd, UINT command) {
  switch (command) {
    case kCmdExit: Close(hwnd); break;
    case kCmdHelp: ShowHelp(hwnd); break;
    case kCmdSelectAll:
      if (gWindow.list) gWindow.list->SetAllChecked(1);
      break;
    case kCmdReset:
      if (gWindow.list) gWindow.list->SetAllChecked(0);
      break;
    case kCmdView: PlayTicked(hwnd, gWindow.playlist, Catalogue()); break;
    default: StepPlaylist(command, gWindow.playlist, Catalogue()); break;
  }
}

void OnDestroy() {
  gWindow.list.reset();
  gWindow.catalogue.reset();
  gWindow.frame = {};
  gWindow.titleOn.Reset();
  gWindow.titleOff.Reset();
  gWindow.background.Reset();
  gWindow.hwnd = nullptr;
  TheArchive().mainWindow = nullptr;
}

bool IsMenuCommand(WPARAM command) {
  const WPARAM kind = command & 0xFFF0;
  return kind == SC_MOUSEMENU || kind == SC_KEYMENU;
}

struct ClassEntry {
  const char* name;
  WNDPROC procedure;
  int windowExtra;
  const char* failure;
};

}  // namespace

bool RegisterArchiveClasses(HINSTANCE instance) {
  shell::LoadSharedCursors(instance);
  const ClassEntry kClasses[] = {
      {kArchiveWindowClass, ArchiveWindowProc, 4, "Невозможно зарегистрировать класс GalleryDialog"},
      {kArchiveHelpClass, ArchiveHelpProc, 0, "Невозможно зарегистрировать класс ArchiveHelpClass"},
  };
  for (const ClassEntry& entry : kClasses) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = entry.procedure;
    wc.cbWndExtra = entry.windowExtra;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MYICON");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = entry.name;
    if (!RegisterClassA(&wc)) {
      MessageBoxA(nullptr, entry.failure, "Ошибка", MB_OK);
      return false;
    }
  }
  if (!RegisterArchiveVideoClasses(instance)) return false;
  if (!toolkit::RegisterBitmapButtonClass(instance)) {
    MessageBoxA(nullptr, "Невозможно зарегистрировать класс MMBUTTON", "Ошибка", MB_OK);
    return false;
  }
  return true;
}

LRESULT CALLBACK ArchiveWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (toolkit::HandleFrameMessage(hwnd, message, wParam, lParam, gWindow.frame, &result)) return result;
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_ACTIVATE: OnActivate(hwnd, wParam); return 0;
    case WM_PAINT: OnPaint(hwnd); return 0;
    case WM_ERASEBKGND: return 0;
    case WM_SETTEXT:
      // The default handling paints the system's caption; the title bar goes back over it.
      result = DefWindowProcA(hwnd, message, wParam, lParam);
      toolkit::DrawTitleBar(hwnd, gWindow.frame);
      return result;
    case WM_NCLBUTTONDOWN:
      if (wParam != HTCAPTION) break;
      // The move takes the hit-test code along, so it follows the mouse like a caption drag.
      PostMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
      return 0;
    case WM_SYSCOMMAND:
      if (IsMenuCommand(wParam) && !IsIconic(hwnd)) return 0;
      break;
    case WM_CONTEXTMENU: return 0;
    case WM_CLOSE: Close(hwnd); return 0;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam)); return 0;
    case lists::kEntryChecked:
      gWindow.playlist.OnEntryChecked(static_cast<uint32_t>(wParam), LOWORD(lParam));
      return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool CreateArchiveWindow(HINSTANCE instance) {
  const auto& display = TheArchive().display;
  HWND hwnd = CreateWindowExA(0, kArchiveWindowClass, "", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                              (display.screenWidth - kArchiveWidth) / 2, (display.screenHeight - kArchiveHeight) / 2,
                              kArchiveWidth, kArchiveHeight, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return false;
  TheArchive().mainWindow = hwnd;
  ShowWindow(hwnd, SW_SHOW);
  SetWindowTextA(hwnd, kArchiveTitle);
  return true;
}

const Playlist& ArchivePlaylist() { return gWindow.playlist; }

}  // namespace kro::archive
