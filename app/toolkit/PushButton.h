#pragma once
// The window framework's buttons: the push button and its two variants, the auto-repeat
// button and the thumb of a scroll bar. Each draws one frame of a vertical bitmap strip
// per state (frame n at y = n * button height, in the button's strip column) and tracks
// the mouse with capture. A click reaches the parent as WM_COMMAND(command, 1).
#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/toolkit/Box.h"
#include "app/toolkit/DdbBitmap.h"
#include "app/toolkit/DefaultWindow.h"

namespace kro::toolkit {

// Sent to the parent when the mouse enters or leaves a framework button.
constexpr UINT kMsgButtonHover = 32752;

class PushButton : public DefaultWindow {
public:
  enum State : uint16_t { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

  // With a bitmap the caller keeps (not owned) or a bitmap resource the button loads and
  // owns; `className` null means the class's own name.
  PushButton(HWND parent, uint16_t command, const Box& box, DdbBitmap* bitmap, int16_t stripColumn = 0,
             const char* className = nullptr);
  PushButton(HWND parent, uint16_t command, const Box& box, const char* bitmapResource, int16_t stripColumn = 0,
             const char* className = nullptr);

  const char* ClassName() const override;
  void Move(int16_t x, int16_t y, int16_t width, int16_t height, bool repaint) override;
  void MoveTo(const Box& box, bool repaint) override;
  LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam) override;

  virtual void SetDisabled(bool disabled);
  // Moves the button into another window, which then receives its commands.
  void Reparent(HWND parent);
  uint16_t State() const { return state_; }
  uint16_t Command() const { return command_; }
  const Box& Geometry() const { return box_; }

protected:
  struct Deferred {};  // a subclass creates the window itself, once its class name is final
  PushButton(Deferred, HWND parent, uint16_t command, const Box& box, DdbBitmap* bitmap, int16_t stripColumn);
  PushButton(Deferred, HWND parent, uint16_t command, const Box& box, const char* bitmapResource,
             int16_t stripColumn);
  void CreateButtonWindow(const char* className);

  // The mouse checks every handler starts with: false when the message is to be ignored.
  bool AcceptsMouse();
  bool HoldsCapture() const { return GetCapture() == Hwnd(); }
  bool PointOffButton(LPARAM lParam) const;
  void Notify(UINT message, WPARAM wParam, LPARAM lParam) const { SendMessageA(parent_, message, wParam, lParam); }
  void Redraw();
  virtual void DrawFrame(HDC dc);
  void DrawFrameNumber(HDC dc, uint16_t frame);

  HWND parent_;
  uint16_t command_;
  uint16_t state_ = kNormal;

private:
  DdbBitmap* bitmap_;
  std::unique_ptr<DdbBitmap> ownedBitmap_;
  int16_t stripColumn_;
  Box box_;
};

// Sends its command on the press and again every interval while it stays pressed; none
// on the release.
class RepeatButton : public PushButton {
public:
  RepeatButton(HWND parent, uint16_t command, const Box& box, DdbBitmap* bitmap, uint16_t intervalMs,
               int16_t stripColumn = 0);
  LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnTimer(WPARAM wParam, LPARAM lParam) override;

private:
  uint16_t intervalMs_;
};

// Dragged along one axis of its parent, between the parent's limits; every move sends
// WM_COMMAND(command, offset along the track).
class Thumb : public PushButton {
public:
  Thumb(HWND parent, uint16_t command, const Box& box, DdbBitmap* bitmap, int16_t stripColumn = 0);
  void SetLimits(int leading, int trailing) { leadingLimit_ = leading, trailingLimit_ = trailing; }
  void SetVertical(bool vertical) { vertical_ = vertical; }
  LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam) override;

private:
  RECT RectInParent() const;
  void Drag();

  bool vertical_ = false;
  int leadingLimit_ = 0;
  int trailingLimit_ = 0;
  POINT grip_{};        // the cursor within the thumb at the press
  RECT pressRect_{};    // the thumb in the parent at the press
};

}  // namespace kro::toolkit
