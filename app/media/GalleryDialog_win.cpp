// The video, map and sound gallery: a list of its catalogue's titles; a movie plays in the
// video window, a map or sound topic shows full-screen, Jump opens the related article.
#include <memory>
#include <optional>

#include "app/article/Pane_win.h"
#include "app/media/BaggageStore_win.h"
#include "app/media/GalleryFrame_win.h"
#include "app/media/GalleryShared_win.h"
#include "app/media/Galleries_win.h"
#include "app/movies/VideoWindow.h"
#include "app/shell/DialogKeys_win.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/ProgramInstance.h"

namespace kro::media {
namespace {

enum class Kind { kVideo, kMaps, kSound };

struct KindLook {
  const char* catalogue;
  GalleryLook look;
  const char* close[2];  // pressed, normal (the normal image also stands for disabled)
  const char* jump[2];
};

const KindLook kLooks[] = {
    {"video.dat", {"t_v", "t_v_d", "g_video"}, {"close_v1", "close_v"}, {"cross_v1", "cross_v"}},
    {"maps.dat", {"t_m", "t_m_d", "g_map"}, {"close_m1", "close_m"}, {"cross_m1", "cross_m"}},
    {"sound.dat", {"t_a", "t_a_d", "g_sound"}, {"close_a1", "close_a"}, {"cross_a1", "cross_a"}},
};

struct Gallery {
  Kind kind = Kind::kVideo;
  bool active = false;
  HWND list = nullptr;
  std::unique_ptr<CatalogueStore> store;
  std::optional<OpenCatalogue> catalogue;
  toolkit::BitmapButtonRecord buttons[4];
};

Gallery gGallery;

const KindLook& Look() { return kLooks[static_cast<int>(gGallery.kind)]; }

Kind KindOf(const char* name) {
  if (lstrcmpA(name, kVideoGalleryName) == 0) return Kind::kVideo;
  if (lstrcmpA(name, kMapGalleryName) == 0) return Kind::kMaps;
  return Kind::kSound;
}

void CreateButtons(HWND hwnd) {
  const KindLook& look = Look();
  gGallery.buttons[0] = GalleryButton(kGalleryClose, look.close[0], look.close[1], look.close[1], 370, 251);
  gGallery.buttons[1] = GalleryButton(kGalleryJump, look.jump[0], look.jump[1], look.jump[1], 0, 250);
  gGallery.buttons[2] = gGallery.kind == Kind::kMaps ? GalleryButton(kGalleryShowMap, "show_1", "show", "show", 0, 180)
                                                      : toolkit::BitmapButtonRecord{};
  gGallery.buttons[3] = {};
  toolkit::CreateBitmapButtons(hwnd, toolkit::ProgramInstance(), gGallery.buttons, true);
}

void CreateList(HWND hwnd) {
  const bool sound = gGallery.kind == Kind::kSound;
  gGallery.list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY,
                                  sound ? 137 : 214, 38, sound ? 377 : 304, 210, hwnd, nullptr, toolkit::ProgramInstance(),
                                  nullptr);
  if (Host().headingFont) SendMessageA(gGallery.list, WM_SETFONT, reinterpret_cast<WPARAM>(Host().headingFont), 1);
}

void OnCreate(HWND hwnd, const CREATESTRUCTA& create) {
  gGallery.kind = KindOf(create.lpszName ? create.lpszName : "");
  gGallery.active = false;
  CreateButtons(hwnd);
  CreateList(hwnd);
  gGallery.store = std::make_unique<BaggageStore>(Host().title);
  gGallery.catalogue = LoadCatalogue(*gGallery.store, Look().catalogue, kGalleryCapacityBytes);
  if (gGallery.catalogue) {
    gGallery.catalogue->FillListBox(gGallery.list);
    SendMessageA(gGallery.list, LB_SETCURSEL, 0, 0);
  }
  EnableWindow(Host().mainWindow, FALSE);
}

// The selected entry's field, or nullopt when nothing is selected.
std::optional<std::string> Selected(CatalogueField field, size_t limit) {
  const int index = static_cast<int>(SendMessageA(gGallery.list, LB_GETCURSEL, 0, 0));
  if (!gGallery.catalogue || index < 0 || index >= gGallery.catalogue->Count()) return std::nullopt;
  return gGallery.catalogue->Field(index, field, limit);
}

void PlayMovie(HWND hwnd) {
  const auto file = Selected(CatalogueField::kThird, kMaxCatalogueField);
  if (!file) return;
  WaitCursor wait;
  const std::string title = *Selected(CatalogueField::kTitle, kMaxTopicTitle);
  const std::string caption = LookUpCaption(*gGallery.store, "videocap.txt", *file, false);
  movies::OpenVideoWindow((Host().productDir + "movies\\" + *file).c_str(), hwnd, title, caption);
}

void ShowTopic(HWND hwnd) {
  const auto context = Selected(CatalogueField::kThird, kMaxCatalogueField);
  if (!context) return;
  WaitCursor wait;
  article::ShowPopupByContextString(context->c_str(), 2);
  article::SetPopupFocusWindow(hwnd);
}

void Close(HWND hwnd) {
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  EnableWindow(Host().mainWindow, TRUE);
  gGallery.catalogue.reset();
  gGallery.store.reset();
  DestroyWindow(hwnd);
}

void Jump(HWND hwnd) {
  const auto context = Selected(CatalogueField::kSecond, kMaxCatalogueField);
  if (!context) return;
  WaitCursor wait;
  Close(hwnd);
  if (Host().showArticle) Host().showArticle(context->c_str());
}

void OnCommand(HWND hwnd, int id, int code, HWND from) {
  if (from == gGallery.list) {
    if (code != LBN_DBLCLK) return;
    if (gGallery.kind == Kind::kVideo) PlayMovie(hwnd);
    if (gGallery.kind == Kind::kSound) ShowTopic(hwnd);
    return;
  }
  switch (id) {
    case kGalleryShowMap:
      if (gGallery.kind == Kind::kMaps) ShowTopic(hwnd);
      break;
    case kGalleryJump: Jump(hwnd); break;
    case kGalleryClose: Close(hwnd); break;
    default: break;
  }
}

void OnActivate(HWND hwnd, WPARAM state) {
  gGallery.active = ActivateGallery(hwnd, state, gGallery.buttons[1].window, gGallery.buttons[0].window);
}

}  // namespace

LRESULT CALLBACK GalleryDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleGalleryFrame(hwnd, message, wParam, lParam, Look().look, gGallery.active, &result)) return result;
  switch (message) {
    case WM_CREATE: OnCreate(hwnd, *reinterpret_cast<const CREATESTRUCTA*>(lParam)); return 0;
    case WM_ACTIVATE: OnActivate(hwnd, wParam); return 0;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    case WM_CLOSE: Close(hwnd); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

HWND OpenGallery(const char* windowName) {
  const RECT place = GalleryPlace();
  HWND hwnd = CreateWindowExA(0, kGalleryDialogClass, windowName, WS_POPUP | WS_VISIBLE | WS_CAPTION, place.left,
                              place.top, place.right - place.left, place.bottom - place.top, Host().mainWindow, nullptr,
                              toolkit::ProgramInstance(), nullptr);
  if (hwnd) SetFocus(hwnd);
  return hwnd;
}

}  // namespace kro::media
