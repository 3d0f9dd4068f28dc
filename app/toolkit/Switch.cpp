#include "app/toolkit/Switch.h"

namespace kro::toolkit {

Switch::Switch(HWND parent, uint16_t command, const Box& box, DdbBitmap* bitmap, int16_t stripColumn,
               const char* className)
    : PushButton(Deferred{}, parent, command, box, bitmap, stripColumn) {
  CreateButtonWindow(className);
}

Switch::Switch(HWND parent, uint16_t command, const Box& box, const char* bitmapResource, int16_t stripColumn,
               const char* className)
    : PushButton(Deferred{}, parent, command, box, bitmapResource, stripColumn) {
  CreateButtonWindow(className);
}

const char* Switch::ClassName() const { return "SwitchClassName"; }

LRESULT Switch::OnLButtonDown(WPARAM, LPARAM) {
  if (!IsActive()) {
    if (HoldsCapture()) ReleaseCapture();
    return 0;
  }
  if (state_ == kSwitchDisabled) return 0;
  state_ = on_ ? kPressedFromOn : kPressedFromOff;
  Redraw();
  return 0;
}

LRESULT Switch::OnLButtonUp(WPARAM, LPARAM) {
  if (!IsActive() || state_ == kSwitchDisabled) return 0;
  if (!on_ && state_ == kPressedFromOff) {
    state_ = kOnHover;
    on_ = true;
  } else if (on_ && state_ == kPressedFromOn) {
    state_ = kOffHover;
    on_ = false;
  } else {
    return 0;
  }
  Redraw();
  Notify(WM_COMMAND, command_, 1);
  return 0;
}

LRESULT Switch::OnMouseMove(WPARAM, LPARAM lParam) {
  if (!AcceptsMouse() || state_ == kSwitchDisabled) return 0;
  if (!HoldsCapture()) {
    state_ = on_ ? kOnHover : kOffHover;
    SetCapture(Hwnd());
    Redraw();
    Notify(kMsgButtonHover, command_, 1);
  } else if (PointOffButton(lParam)) {
    state_ = on_ ? kOn : kOff;
    ReleaseCapture();
    Redraw();
    Notify(kMsgButtonHover, command_, 0);
  }
  return 0;
}

void Switch::SetDisabled(bool disabled) {
  if (disabled) {
    if (HoldsCapture()) ReleaseCapture();
    state_ = kSwitchDisabled;
  } else if (state_ == kSwitchDisabled) {
    state_ = on_ ? kOn : kOff;
  }
  Redraw();
}

void Switch::DrawFrame(HDC dc) {
  if (!HoldsCapture()) {
    if (state_ == kOffHover) state_ = kOff;
    if (state_ == kOnHover) state_ = kOn;
  }
  DrawFrameNumber(dc, state_);
}

}  // namespace kro::toolkit
