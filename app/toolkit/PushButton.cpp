#include "app/toolkit/PushButton.h"

#include <algorithm>

#include "app/toolkit/ProgramInstance.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::toolkit {
namespace {

constexpr const char* kButtonClass = "ButtonClassName";

std::unique_ptr<DdbBitmap> LoadOwned(const char* resource) {
  auto bitmap = std::make_unique<DdbBitmap>();
  bitmap->LoadResource(resource);
  return bitmap;
}

// The buttons paint in WM_ERASEBKGND: no class brush, the shared hand cursor.
void RegisterButtonClass(DefaultWindow& window, const char* className) {
  HCURSOR hand = LoadCursorA(ProgramInstance(), "HAND_E");
  window.RegisterClass(className, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)),
                       hand ? hand : LoadCursorA(nullptr, IDC_ARROW), nullptr, 0);
}

}  // namespace

PushButton::PushButton(Deferred, HWND parent, uint16_t command, const Box& box, DdbBitmap* bitmap,
                       int16_t stripColumn)
    : parent_(parent), command_(command), bitmap_(bitmap), stripColumn_(stripColumn), box_(box) {}

PushButton::PushButton(Deferred, HWND parent, uint16_t command, const Box& box, const char* bitmapResource,
                       int16_t stripColumn)
    : parent_(parent), command_(command), bitmap_(nullptr), ownedBitmap_(LoadOwned(bitmapResource)),
      stripColumn_(stripColumn), box_(box) {
  bitmap_ = ownedBitmap_.get();
}

PushButton::PushButton(HWND parent, uint16_t command, const Box& box, DdbBitmap* bitmap, int16_t stripColumn,
                       const char* className)
    : PushButton(Deferred{}, parent, command, box, bitmap, stripColumn) {
  CreateButtonWindow(className);
}

PushButton::PushButton(HWND parent, uint16_t command, const Box& box, const char* bitmapResource,
                       int16_t stripColumn, const char* className)
    : PushButton(Deferred{}, parent, command, box, bitmapResource, stripColumn) {
  CreateButtonWindow(className);
}

void PushButton::CreateButtonWindow(const char* className) {
  const char* name = className ? className : ClassName();
  RegisterButtonClass(*this, name);
  CreateWindowExA(0, name, nullptr, WS_CHILD | WS_VISIBLE, box_.x, box_.y, box_.width, box_.height, parent_,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(command_)), ProgramInstance(), this);
}

const char* PushButton::ClassName() const { return kButtonClass; }

void PushButton::Move(int16_t x, int16_t y, int16_t width, int16_t height, bool repaint) {
  box_ = {x, y, width, height};
  DefaultWindow::Move(x, y, width, height, repaint);
}

void PushButton::MoveTo(const Box& box, bool repaint) {
  box_ = box;
  DefaultWindow::MoveTo(box, repaint);
}

LRESULT PushButton::OnEraseBackground(WPARAM wParam, LPARAM) {
  DrawFrame(reinterpret_cast<HDC>(wParam));
  return 0;
}

bool PushButton::AcceptsMouse() {
  if (!IsActive()) {
    if (HoldsCapture()) Redraw();  // drawing an inactive button lets go of the capture
    return false;
  }
  return true;
}

bool PushButton::PointOffButton(LPARAM lParam) const {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(Hwnd(), &point);
  return WindowFromPoint(point) != Hwnd();
}

LRESULT PushButton::OnLButtonDown(WPARAM, LPARAM) {
  if (!AcceptsMouse() || state_ == kDisabled) return 0;
  state_ = kPressed;
  Redraw();
  return 0;
}

LRESULT PushButton::OnLButtonUp(WPARAM, LPARAM) {
  if (!AcceptsMouse() || state_ != kPressed) return 0;
  state_ = kHover;
  Redraw();
  Notify(WM_COMMAND, command_, 1);
  return 0;
}

LRESULT PushButton::OnMouseMove(WPARAM, LPARAM lParam) {
  if (!AcceptsMouse() || state_ == kDisabled) return 0;
  if (!HoldsCapture()) {
    state_ = kHover;
    SetCapture(Hwnd());
    Redraw();
    Notify(kMsgButtonHover, command_, 1);
  } else if (PointOffButton(lParam)) {
    state_ = kNormal;
    ReleaseCapture();
    Redraw();
    Notify(kMsgButtonHover, command_, 1);
  }
  return 0;
}

void PushButton::SetDisabled(bool disabled) {
  if (disabled) {
    if (HoldsCapture()) ReleaseCapture();
    state_ = kDisabled;
  } else {
    POINT cursor;
    GetCursorPos(&cursor);
    state_ = WindowFromPoint(cursor) == Hwnd() ? kHover : kNormal;
  }
  Redraw();
}

void PushButton::Reparent(HWND parent) {
  parent_ = parent;
  if (Hwnd()) SetParent(Hwnd(), parent);
}

void PushButton::Redraw() {
  if (!Hwnd()) return;
  WindowDc dc(Hwnd());
  DrawFrame(dc.Get());
}

void PushButton::DrawFrame(HDC dc) {
  if (!IsActive() && HoldsCapture()) ReleaseCapture();
  if (!HoldsCapture() && state_ == kHover) state_ = kNormal;
  DrawFrameNumber(dc, state_);
}

void PushButton::DrawFrameNumber(HDC dc, uint16_t frame) {
  if (!bitmap_ || !bitmap_->IsLoaded() || !Hwnd()) return;
  RECT client;
  GetClientRect(Hwnd(), &client);
  bitmap_->Draw(dc, 0, 0, client.right, client.bottom, stripColumn_, frame * client.bottom, SRCCOPY);
}

RepeatButton::RepeatButton(HWND parent, uint16_t command, const Box& box, DdbBitmap* bitmap, uint16_t intervalMs,
                           int16_t stripColumn)
    : PushButton(Deferred{}, parent, command, box, bitmap, stripColumn), intervalMs_(intervalMs) {
  CreateButtonWindow(nullptr);
}

LRESULT RepeatButton::OnLButtonDown(WPARAM, LPARAM) {
  if (!AcceptsMouse() || state_ == kDisabled) return 0;
  state_ = kPressed;
  Redraw();
  Notify(WM_COMMAND, command_, 1);
  SetTimer(Hwnd(), command_, intervalMs_, nullptr);
  return 0;
}

LRESULT RepeatButton::OnTimer(WPARAM, LPARAM) {
  if (state_ == kPressed && IsActive()) Notify(WM_COMMAND, command_, 1);
  return 0;
}

LRESULT RepeatButton::OnLButtonUp(WPARAM, LPARAM) {
  if (!AcceptsMouse() || state_ != kPressed) return 0;
  state_ = kHover;
  Redraw();
  KillTimer(Hwnd(), command_);
  return 0;
}

Thumb::Thumb(HWND parent, uint16_t command, const Box& box, DdbBitmap* bitmap, int16_t stripColumn)
    : PushButton(Deferred{}, parent, command, box, bitmap, stripColumn) {
  CreateButtonWindow(nullptr);
}

RECT Thumb::RectInParent() const {
  RECT rect;
  GetWindowRect(Hwnd(), &rect);
  MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LRESULT Thumb::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
  if (IsActive() && state_ != kDisabled) {
    SetCapture(Hwnd());
    pressRect_ = RectInParent();
    grip_ = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  }
  return PushButton::OnLButtonDown(wParam, lParam);
}

LRESULT Thumb::OnMouseMove(WPARAM wParam, LPARAM lParam) {
  if ((wParam & MK_LBUTTON) && state_ == kPressed) {
    Drag();
    return 0;
  }
  return PushButton::OnMouseMove(wParam, lParam);
}

// The new leading edge follows the cursor less the grip, kept inside the parent's limits.
void Thumb::Drag() {
  POINT cursor;
  GetCursorPos(&cursor);
  ScreenToClient(parent_, &cursor);
  RECT parent;
  GetClientRect(parent_, &parent);
  const RECT rect = RectInParent();
  const int length = vertical_ ? rect.bottom - rect.top : rect.right - rect.left;
  const int extent = vertical_ ? parent.bottom : parent.right;
  const int wanted = (vertical_ ? cursor.y - grip_.y : cursor.x - grip_.x);
  const int leading = std::max(leadingLimit_, std::min(wanted, extent - length - trailingLimit_));
  Box box = Geometry();
  (vertical_ ? box.y : box.x) = leading;
  MoveTo(box, true);
  const RECT moved = RectInParent();
  Notify(WM_COMMAND, command_, (vertical_ ? moved.top : moved.left) - leadingLimit_);
}

LRESULT Thumb::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
  if (state_ == kPressed) {
    state_ = kHover;
    Redraw();
    ReleaseCapture();
  }
  return PushButton::OnLButtonUp(wParam, lParam);
}

}  // namespace kro::toolkit
