#include "app/toolkit/DefaultWindow.h"

#include "app/toolkit/ProgramInstance.h"
#include "runtime/base/UniqueHandle_win.h"

#include <utility>

namespace kro::toolkit {
namespace {

// The object pointer lives in window long 0; a pointer is as wide as LONG_PTR on both
// targets.
constexpr int kObjectSlot = 0;
constexpr int kWindowExtraBytes = sizeof(LONG_PTR);

void Bind(HWND hwnd, DefaultWindow* object) { SetWindowLongPtrA(hwnd, kObjectSlot, reinterpret_cast<LONG_PTR>(object)); }

}  // namespace

DefaultWindow* WindowObjectOf(HWND hwnd) {
  return reinterpret_cast<DefaultWindow*>(GetWindowLongPtrA(hwnd, kObjectSlot));
}

LRESULT CALLBACK WindowObjectProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* object = static_cast<DefaultWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (object == nullptr) return 0;
    Bind(hwnd, object);
    return object->OnCreate(hwnd) ? 0 : -1;
  }
  DefaultWindow* object = WindowObjectOf(hwnd);
  if (message == WM_NCDESTROY) Bind(hwnd, nullptr);
  // Before WM_CREATE nothing is bound; after WM_DESTROY the object has let go of the window.
  if (object == nullptr || object->hwnd_ != hwnd) return DefWindowProcA(hwnd, message, wParam, lParam);
  try {
    return object->Dispatch(message, wParam, lParam);
  } catch (...) {
    return 0;  // no exception may unwind through USER32
  }
}

LRESULT DefaultWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return OnPaint(wParam, lParam);
    case WM_DESTROY: return OnDestroy(wParam, lParam);
    case WM_SIZE: return OnSize(wParam, lParam);
    case WM_CLOSE: return OnClose(wParam, lParam);
    case WM_ERASEBKGND: return OnEraseBackground(wParam, lParam);
    case WM_NCHITTEST: return OnNcHitTest(wParam, lParam);
    case WM_KEYDOWN: return OnKeyDown(wParam, lParam);
    case WM_KEYUP: return OnKeyUp(wParam, lParam);
    case WM_COMMAND: return OnCommand(wParam, lParam);
    case WM_TIMER: return OnTimer(wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(wParam, lParam);
    case WM_LBUTTONDOWN: return OnLButtonDown(wParam, lParam);
    case WM_LBUTTONUP: return OnLButtonUp(wParam, lParam);
    case WM_LBUTTONDBLCLK: return OnLButtonDoubleClick(wParam, lParam);
    case WM_RBUTTONDOWN: return OnRButtonDown(wParam, lParam);
    case WM_RBUTTONUP: return OnRButtonUp(wParam, lParam);
    case WM_RBUTTONDBLCLK: return OnRButtonDoubleClick(wParam, lParam);
    default: return OnMessage(message, wParam, lParam);
  }
}

DefaultWindow::DefaultWindow() : DefaultWindow(0, 0, 0, 0) {}

DefaultWindow::DefaultWindow(int16_t x, int16_t y, int16_t width, int16_t height)
    : element_(std::make_unique<Element>(x, y, width, height)) {}

DefaultWindow::DefaultWindow(const char* className, HBRUSH background, HCURSOR cursor, HICON icon, UINT style)
    : DefaultWindow() {
  RegisterClass(className, background, cursor, icon, style);
}

DefaultWindow::~DefaultWindow() { DestroyBoundWindow(); }

bool DefaultWindow::RegisterClass(const char* className, HBRUSH background, HCURSOR cursor, HICON icon, UINT style) {
  WNDCLASSA existing{};
  if (GetClassInfoA(ProgramInstance(), className, &existing)) return true;
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = WindowObjectProc;
  wc.cbWndExtra = kWindowExtraBytes;
  wc.hInstance = ProgramInstance();
  wc.hIcon = icon;
  wc.hCursor = cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background ? background : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = className;
  return ::RegisterClassA(&wc) != 0;
}

const char* DefaultWindow::ClassName() const { return "DefaultWindowClass"; }
void DefaultWindow::SetActive(bool active) { active_ = active; }
bool DefaultWindow::IsActive() const { return active_; }

void DefaultWindow::Move(int16_t x, int16_t y, int16_t width, int16_t height, bool repaint) {
  if (hwnd_) MoveWindow(hwnd_, x, y, width, height, repaint);
}

void DefaultWindow::MoveTo(const Box& box, bool repaint) {
  if (hwnd_) MoveWindow(hwnd_, box.x, box.y, box.width, box.height, repaint);
}

void DefaultWindow::Focus() {
  if (hwnd_) SetFocus(hwnd_);
}

bool DefaultWindow::OnCreate(HWND hwnd) {
  hwnd_ = hwnd;
  return true;
}

LRESULT DefaultWindow::OnDestroy(WPARAM, LPARAM) {
  hwnd_ = nullptr;
  return 0;
}

LRESULT DefaultWindow::OnClose(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnPaint(WPARAM wParam, LPARAM lParam) { return DefaultProcessing(WM_PAINT, wParam, lParam); }
LRESULT DefaultWindow::OnEraseBackground(WPARAM wParam, LPARAM lParam) { return DefaultProcessing(WM_ERASEBKGND, wParam, lParam); }
LRESULT DefaultWindow::OnNcHitTest(WPARAM wParam, LPARAM lParam) { return DefaultProcessing(WM_NCHITTEST, wParam, lParam); }
LRESULT DefaultWindow::OnSize(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnTimer(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnCommand(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnMouseMove(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnLButtonDown(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnLButtonUp(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnLButtonDoubleClick(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnRButtonDown(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnRButtonUp(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnRButtonDoubleClick(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnKeyDown(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnKeyUp(WPARAM, LPARAM) { return 0; }
LRESULT DefaultWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return DefaultProcessing(message, wParam, lParam); }

HWND DefaultWindow::CreateBoundWindow(DWORD style, int x, int y, int width, int height, HWND parent, UINT_PTR childId,
                                      const char* windowName) {
  DestroyBoundWindow();
  const HWND created = CreateWindowExA(0, ClassName(), windowName, style, x, y, width, height, parent,
                                       reinterpret_cast<HMENU>(childId), ProgramInstance(), this);
  // OnCreate stored it already, unless a message during creation destroyed the window.
  hwnd_ = created && IsWindow(created) ? created : nullptr;
  return hwnd_;
}

void DefaultWindow::DestroyBoundWindow() {
  const HWND hwnd = std::exchange(hwnd_, nullptr);
  if (hwnd == nullptr || !IsWindow(hwnd)) return;
  // Unbound first: while an object is being destroyed its overrides are already gone, so
  // its window's last messages must not reach it.
  if (WindowObjectOf(hwnd) == this) Bind(hwnd, nullptr);
  DestroyWindow(hwnd);
}

void DefaultWindow::ReplaceElement(std::unique_ptr<Element> element) {
  element->x = element_->x;
  element->y = element_->y;
  element->width = element_->width;
  element->height = element_->height;
  element_ = std::move(element);
}

LRESULT DefaultWindow::PaintElement() {
  PaintGuard paint(hwnd_);
  element_->Draw(paint.Dc(), 0, 0);
  return 0;
}

LRESULT DefaultWindow::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace kro::toolkit
