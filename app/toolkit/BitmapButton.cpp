#include "app/toolkit/BitmapButton.h"

#include "runtime/base/UniqueHandle_win.h"

namespace kro::toolkit {
namespace {

// Window extra bytes: the record's address, then the bitmap on show.
constexpr int kRecordSlot = 0;
constexpr int kShownSlot = sizeof(LONG_PTR);

BitmapButtonRecord* RecordOf(HWND hwnd) {
  return reinterpret_cast<BitmapButtonRecord*>(GetWindowLongPtrA(hwnd, kRecordSlot));
}

HBITMAP Shown(HWND hwnd) {
  return reinterpret_cast<HBITMAP>(GetWindowLongPtrA(hwnd, kShownSlot));
}

void Show(HWND hwnd, HBITMAP bitmap) {
  SetWindowLongPtrA(hwnd, kShownSlot, reinterpret_cast<LONG_PTR>(bitmap));
}

void PostLatchToPartners(const BitmapButtonRecord& record) {
  for (const BitmapButtonRecord* partner : {record.partnerA, record.partnerB})
    if (partner && partner->window) PostMessageA(partner->window, BM_SETCHECK, record.latched, 0);
}

// A busy program keeps its hourglass: no button replaces it.
bool HourglassShown() {
  return GetCursor() == LoadCursorA(nullptr, IDC_WAIT);
}

void OnPaint(HWND hwnd, BitmapButtonRecord& record) {
  if (record.isDisabled) Show(hwnd, record.disabled);
  PaintGuard paint(hwnd);
  const HBITMAP bitmap = Shown(hwnd);
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return;
  UniqueMemoryDc memory(CreateCompatibleDC(paint.Dc()));
  SelectGuard select(memory.Get(), bitmap);
  BitBlt(paint.Dc(), 0, 0, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT OnSetCursor(const BitmapButtonRecord& record) {
  if (HourglassShown()) return 0;
  SetCursor(record.isDisabled ? LoadCursorA(nullptr, IDC_ARROW) : record.cursor);
  return 1;
}

void OnButtonDown(HWND hwnd, BitmapButtonRecord& record) {
  if (record.isDisabled) {
    MessageBeep(0);
    return;
  }
  if (record.kind == kReleaseOnlyButton) return;
  SetCapture(hwnd);
  const bool wasPressed = Shown(hwnd) == record.pressed;
  record.latched = wasPressed ? 0 : 1;
  Show(hwnd, wasPressed ? record.normal : record.pressed);
  InvalidateRect(hwnd, nullptr, FALSE);
  PostLatchToPartners(record);
  if (record.partnerC && *record.partnerC) PostMessageA(*record.partnerC, WM_LBUTTONDOWN, 0, 0);
}

// The command goes out wherever the mouse is now; the parent may destroy this button
// while it handles the command, so nothing after it touches the window's own data.
void OnButtonUp(HWND hwnd, BitmapButtonRecord& record) {
  if (record.isDisabled) return;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  ReleaseCapture();
  SendMessageA(GetParent(hwnd), WM_COMMAND, LOWORD(record.command), 0);
  if ((record.kind & kPushButton) && !record.partnerC) {
    record.latched = 0;
    if (IsWindow(hwnd)) {
      Show(hwnd, record.normal);
      InvalidateRect(hwnd, nullptr, FALSE);
    }
  }
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  PostLatchToPartners(record);
}

void OnSetState(HWND hwnd, BitmapButtonRecord& record, bool enable) {
  record.isDisabled = enable ? 0 : 1;
  Show(hwnd, enable ? record.normal : record.disabled);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void OnSetCheck(HWND hwnd, BitmapButtonRecord& record, WPARAM latched) {
  record.latched = static_cast<int32_t>(latched);
  Show(hwnd, latched ? record.pressed : record.normal);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void OnDestroy(BitmapButtonRecord& record) {
  for (HBITMAP* bitmap : {&record.pressed, &record.normal, &record.disabled}) {
    if (*bitmap) DeleteObject(*bitmap);
    *bitmap = nullptr;
  }
  record.window = nullptr;
}

LRESULT CALLBACK BitmapButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  BitmapButtonRecord* record = RecordOf(hwnd);
  if (!record) return msg == WM_CREATE ? 0 : DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT: OnPaint(hwnd, *record); return 0;
    case WM_ERASEBKGND: return 0;
    case WM_SETCURSOR: return OnSetCursor(*record);
    case WM_NCHITTEST:
    case WM_MOUSEMOVE:
      // Every parent learns this way that the mouse is over one of its buttons.
      SendMessageA(GetParent(hwnd), WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(GetParent(hwnd))), 0);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_LBUTTONDOWN: OnButtonDown(hwnd, *record); return 0;
    case WM_LBUTTONUP: OnButtonUp(hwnd, *record); return 0;
    case BM_GETCHECK: return record->latched;
    case BM_SETCHECK: OnSetCheck(hwnd, *record, wParam); return 0;
    case BM_SETSTATE: OnSetState(hwnd, *record, wParam != 0); return 0;
    case BM_GETSTATE: return record->isDisabled ? 0 : 1;  // what BM_SETSTATE was last told
    case WM_DESTROY: OnDestroy(*record); return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

BitmapButtonRecord PushButtonRecord(int32_t command, const char* normal, const char* pressed, const char* disabled, int x,
                                    int y) {
  BitmapButtonRecord r;
  r.active = kCreateButton;
  r.kind = kPushButton;
  r.command = command;
  r.normalName = normal;
  r.pressedName = pressed;
  r.disabledName = disabled;
  r.left = x;
  r.top = y;
  return r;
}

bool RegisterBitmapButtonClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = BitmapButtonProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = kBitmapButtonClass;
  return RegisterClassA(&wc) != 0;
}

void CreateBitmapButtons(HWND parent, HINSTANCE instance, BitmapButtonRecord* records, bool show) {
  for (BitmapButtonRecord* r = records; r->active != kEndOfButtons; ++r) {
    if (r->active != kCreateButton) continue;
    r->pressed = LoadBitmapA(instance, r->pressedName);
    r->normal = LoadBitmapA(instance, r->normalName);
    r->disabled = LoadBitmapA(instance, r->disabledName);
    BITMAP info{};
    if (r->pressed) GetObjectA(r->pressed, sizeof info, &info);
    r->right = r->left + info.bmWidth;
    r->bottom = r->top + info.bmHeight;
    r->window = CreateWindowExA(0, kBitmapButtonClass, nullptr, WS_CHILD, r->left, r->top, info.bmWidth,
                                info.bmHeight, parent, nullptr, instance, nullptr);
    if (!r->window) continue;
    SetWindowLongPtrA(r->window, kRecordSlot, reinterpret_cast<LONG_PTR>(r));
    Show(r->window, r->normal);
    if (show) {
      ShowWindow(r->window, SW_SHOW);
      InvalidateRect(r->window, nullptr, TRUE);
    }
  }
}

void ShowBitmapButtons(BitmapButtonRecord* records, bool show) {
  for (BitmapButtonRecord* r = records; r->active != kEndOfButtons; ++r)
    if (r->window) ShowWindow(r->window, show ? SW_SHOW : SW_HIDE);
}

}  // namespace kro::toolkit
