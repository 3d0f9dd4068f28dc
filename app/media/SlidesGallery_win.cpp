// The illustrations gallery: every entry of "slides.dat" in a virtual list box, a
// type-ahead field above it, and the thumbnail panel that steps through the selected
// entry's pictures.
#include <memory>
#include <optional>

#include "app/lists/VirtualListBox_win.h"
#include "app/media/BaggageStore_win.h"
#include "app/media/GalleryFrame_win.h"
#include "app/media/GalleryShared_win.h"
#include "app/media/SlideIndex.h"
#include "app/media/SlidePanel_win.h"
#include "app/shell/DialogKeys_win.h"
#include "app/toolkit/ProgramInstance.h"

namespace kro::media {
namespace {

constexpr UINT_PTR kTypeAheadTimer = 3404;
constexpr UINT kTypeAheadMs = 1000;
constexpr int kListId = 100, kEditId = 101;
constexpr int kTypedBytes = 128;  // the edit field's text as the gallery reads it
constexpr int kHorizontalExtent = 128;
const GalleryLook kLook = {"t_s", "t_s_d", "g_slide"};

struct SlidesGallery {
  bool active = false;
  HWND list = nullptr, edit = nullptr, panel = nullptr;
  std::unique_ptr<CatalogueStore> store;
  std::optional<OpenCatalogue> catalogue;
  std::string itemText;           // the text answered to the list, valid until the next request
  bool reactToEdit = true;        // off while the gallery sets the edit text itself
  bool copySelectionToEdit = true;  // off while the type-ahead makes the selection
  toolkit::BitmapButtonRecord buttons[5];
};

SlidesGallery gSlides;

int Count() { return gSlides.catalogue ? gSlides.catalogue->Count() : 0; }

std::string Field(int index, CatalogueField field) {
  return gSlides.catalogue ? gSlides.catalogue->Field(index, field, kMaxCatalogueField) : std::string();
}

void SetEditText(const std::string& text) {
  gSlides.reactToEdit = false;
  SetWindowTextA(gSlides.edit, text.substr(0, kMaxListTitle).c_str());
  gSlides.reactToEdit = true;
}

// Shows the pictures of entry `index` in the panel.
void ShowEntry(int index) {
  const std::string title = gSlides.catalogue ? gSlides.catalogue->Title(index) : std::string();
  CatalogueStore& store = *gSlides.store;
  SetPanelPictures(gSlides.panel, BuildPictureList(Field(index, CatalogueField::kThird), title, Host().productDir,
                                                   [&store](const std::string& folder, const std::string& name) {
                                                     return LookUpCaption(store, folder, name, true);
                                                   }));
}

void CreateButtons(HWND hwnd) {
  gSlides.buttons[0] = GalleryButton(kGalleryClose, "close_s1", "close_s", "close_s", 370, 251);
  gSlides.buttons[1] = GalleryButton(kGalleryJump, "cross_s1", "cross_s", "cross_s", 0, 250);
  gSlides.buttons[2] = GalleryButton(kSlidesPreviousPicture, "str_1_r", "str_1", "str_1d", 160, 250);
  gSlides.buttons[3] = GalleryButton(kSlidesNextPicture, "str_2_r", "str_2", "str_2d", 190, 250);
  gSlides.buttons[4] = {};
  toolkit::CreateBitmapButtons(hwnd, toolkit::ProgramInstance(), gSlides.buttons, true);
}

void CreateChildren(HWND hwnd) {
  const HINSTANCE instance = toolkit::ProgramInstance();
  gSlides.list = CreateWindowExA(0, lists::kVirtualListBoxClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, 214,
                                 41, 304, 210, hwnd, reinterpret_cast<HMENU>(kListId), instance, nullptr);
  gSlides.edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 214, 15, 304, 21, hwnd,
                                 reinterpret_cast<HMENU>(kEditId), instance, nullptr);
  gSlides.panel = CreateWindowExA(0, kSlidePanelClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 21, 41, 186, 207, hwnd,
                                  nullptr, instance, nullptr);
  SetPanelArrows(gSlides.panel, gSlides.buttons[2].window, gSlides.buttons[3].window);
  if (HFONT font = Host().headingFont) {
    SendMessageA(gSlides.list, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
    SendMessageA(gSlides.edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
  }
}

void OnCreate(HWND hwnd) {
  gSlides.active = false;
  gSlides.reactToEdit = gSlides.copySelectionToEdit = true;
  {
    WaitCursor wait;
    CreateButtons(hwnd);
    CreateChildren(hwnd);
    gSlides.store = std::make_unique<BaggageStore>(Host().title);
    gSlides.catalogue = LoadCatalogue(*gSlides.store, "slides.dat", kSlidesCapacityBytes);
  }
  EnableWindow(Host().mainWindow, FALSE);
  SendMessageA(gSlides.list, lists::kVlbInitialise, 0, 0);
  SendMessageA(gSlides.list, lists::kVlbReset, 0, 0);
  SendMessageA(gSlides.list, lists::kVlbSetHorizontalExtent, kHorizontalExtent, 0);
  SendMessageA(gSlides.list, lists::kVlbSetSelection, lists::kVlbFirstItem, 0);
  ShowEntry(0);
  SetEditText(gSlides.catalogue && Count() > 0 ? gSlides.catalogue->Title(0) : std::string());
  SetFocus(gSlides.edit);
}

// --- the list's requests ---------------------------------------------------------------

void Answer(lists::VlbRecord& r, int index) {
  if (index < 0 || index >= Count()) {
    r.status = -1;
    return;
  }
  r.status = 0;
  r.index = r.data = index;
  gSlides.itemText = gSlides.catalogue->Title(index);
  r.text = gSlides.itemText.c_str();
}

// A find request names its item by number; the gallery's own searches never come here.
int FoundIndex(const char* text) {
  if (!text) return -1;
  char* end = nullptr;
  const long index = std::strtol(text, &end, 10);
  return end == text ? -1 : static_cast<int>(index);
}

LRESULT OnListRequest(UINT request, lists::VlbRecord& r) {
  switch (request) {
    case lists::kVlbFirstItem: Answer(r, 0); break;
    case lists::kVlbPreviousItem: Answer(r, r.index - 1); break;
    case lists::kVlbNextItem: Answer(r, r.index + 1); break;
    case lists::kVlbLastItem: Answer(r, Count() - 1); break;
    case lists::kVlbItemAt: {
      Answer(r, r.index);
      const int rows = static_cast<int>(SendMessageA(gSlides.list, lists::kVlbGetVisibleRows, 0, 0));
      // Near the end the page fills upwards; the list then selects the item asked for.
      if (r.status == 0 && r.index > Count() - rows - 1)
        PostMessageA(gSlides.list, lists::kVlbSetSelection, lists::kVlbItemAt, r.index);
      break;
    }
    case lists::kVlbCountRequest:
      r.status = 0;
      r.data = r.index = Count();
      break;
    case lists::kVlbGetDataRequest:
    case lists::kVlbGetTextRequest: Answer(r, r.index); break;
    case lists::kVlbFindRequest:
    case lists::kVlbFindExactRequest: Answer(r, FoundIndex(r.findString)); break;
    default: r.status = -1; break;
  }
  return 0;
}

// --- selection and type-ahead ----------------------------------------------------------------

int Selection() { return static_cast<int>(SendMessageA(gSlides.list, lists::kVlbGetSelection, 0, 0)); }

void OnSelectionChange() {
  const int index = Selection();
  if (index < 0) return;
  ShowEntry(index);
  if (gSlides.copySelectionToEdit) {
    char text[kMaxListTitle + 1] = {};
    lists::VlbRecord r{};
    r.index = r.data = index;
    r.text = text;
    SendMessageA(gSlides.list, lists::kVlbGetText, sizeof text, reinterpret_cast<LPARAM>(&r));
    SetEditText(text);
  }
}

std::string TypedText() {
  char text[kTypedBytes] = {};
  GetWindowTextA(gSlides.edit, text, sizeof text);
  return text;
}

void OnTypeAhead(HWND hwnd) {
  KillTimer(hwnd, kTypeAheadTimer);
  const std::string typed = NormaliseTyped(TypedText());
  if (typed.empty() || !gSlides.catalogue) return;
  const int found = FindTyped(typed, gSlides.catalogue->Index(), [](int i) { return gSlides.catalogue->Title(i); });
  if (found == Selection()) return;
  SendMessageA(gSlides.list, lists::kVlbSetSelection, lists::kVlbItemAt, found);
  gSlides.copySelectionToEdit = false;
  OnSelectionChange();
  gSlides.copySelectionToEdit = true;
  SetFocus(gSlides.edit);
}

void OnEditCommand(HWND hwnd, int code) {
  if (code == EN_CHANGE && gSlides.reactToEdit && !TypedText().empty()) SetTimer(hwnd, kTypeAheadTimer, kTypeAheadMs, nullptr);
  if (code == EN_SETFOCUS) PostMessageA(gSlides.edit, EM_SETSEL, 0, -1);
}

// --- closing ---------------------------------------------------------------------------

void Close(HWND hwnd) {
  KillTimer(hwnd, kTypeAheadTimer);
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  EnableWindow(Host().mainWindow, TRUE);
  DestroyWindow(hwnd);
  gSlides.catalogue.reset();
  gSlides.store.reset();
}

void Jump(HWND hwnd) {
  WaitCursor wait;
  const int index = Selection();
  const std::string context = index >= 0 ? Field(index, CatalogueField::kSecond) : std::string();
  Close(hwnd);
  if (!context.empty() && Host().showArticle) Host().showArticle(context.c_str());
}

void OnCommand(HWND hwnd, int id, int code, HWND from) {
  if (from == gSlides.list) {
    if (code == LBN_SELCHANGE) OnSelectionChange();
    return;
  }
  if (from == gSlides.edit) {
    OnEditCommand(hwnd, code);
    return;
  }
  switch (id) {
    case kSlidesPreviousPicture: SendMessageA(gSlides.panel, kPanelPreviousPicture, 0, 0); break;
    case kSlidesNextPicture: SendMessageA(gSlides.panel, kPanelNextPicture, 0, 0); break;
    case kGalleryJump: Jump(hwnd); break;
    case kGalleryClose: Close(hwnd); break;
    default: break;
  }
}

}  // namespace

LRESULT CALLBACK SlidesGalleryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleGalleryFrame(hwnd, message, wParam, lParam, kLook, gSlides.active, &result)) return result;
  if (message >= lists::kVlbFindExactRequest && message <= lists::kVlbItemAtPercentage && lParam)
    return OnListRequest(message, *reinterpret_cast<lists::VlbRecord*>(lParam));
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_ACTIVATE:
      gSlides.active = ActivateGallery(hwnd, wParam, gSlides.buttons[1].window, gSlides.buttons[0].window);
      return 0;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    case WM_TIMER:
      if (wParam == kTypeAheadTimer) OnTypeAhead(hwnd);
      return 0;
    case WM_CLOSE: Close(hwnd); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

HWND OpenSlidesGallery() {
  const RECT place = GalleryPlace();
  HWND hwnd = CreateWindowExA(0, kSlidesGalleryClass, kSlidesGalleryName, WS_POPUP | WS_VISIBLE | WS_CAPTION,
                              place.left, place.top, place.right - place.left, place.bottom - place.top,
                              Host().mainWindow, nullptr, toolkit::ProgramInstance(), nullptr);
  if (hwnd) SetFocus(hwnd);
  return hwnd;
}

}  // namespace kro::media
