#pragma once
// The framework's switch: a latching button with seven frames in its strip (off, off and
// hovered, pressed from off, on, on and hovered, pressed from on, disabled).
#include "app/toolkit/PushButton.h"

namespace kro::toolkit {

class Switch : public PushButton {
public:
  enum SwitchState : uint16_t {
    kOff = 0, kOffHover = 1, kPressedFromOff = 2, kOn = 3, kOnHover = 4, kPressedFromOn = 5, kSwitchDisabled = 6,
  };

  Switch(HWND parent, uint16_t command, const Box& box, DdbBitmap* bitmap, int16_t stripColumn = 0,
         const char* className = nullptr);
  Switch(HWND parent, uint16_t command, const Box& box, const char* bitmapResource, int16_t stripColumn = 0,
         const char* className = nullptr);

  const char* ClassName() const override;
  LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam) override;
  void SetDisabled(bool disabled) override;
  // Sets the on flag without repainting.
  void SetOn(bool on) { on_ = on; }
  bool IsOn() const { return on_; }

protected:
  void DrawFrame(HDC dc) override;

private:
  bool on_ = false;
};

}  // namespace kro::toolkit
